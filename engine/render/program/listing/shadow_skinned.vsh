vs_2_0
; in: v0 position, v1 blend weights, v2 bone indices
; c0-c3 view*projection, bones from c4, c204-c207 light texture matrix,
; c208 shadow colour
; out: position, shadow-map coordinate (t1), shadow colour
def c210, 4, 0, 1, 0.0000000001
def c211, 2.7182817, 0, 0, 0
dcl_position v0
dcl_blendweight v1
dcl_blendindices v2
; bone addresses: four registers per bone
mul r1, v2, c210.x
mova a0, r1
; the first weight always counts, the others only when positive
max r2, v1, c210.y
mov r2.x, v1.x
; world position: the weighted sum over the bones
dp4 r3.x, v0, c[a0.x + 4]
dp4 r3.y, v0, c[a0.x + 5]
dp4 r3.z, v0, c[a0.x + 6]
mul r0.xyz, r3, r2.x
dp4 r3.x, v0, c[a0.y + 4]
dp4 r3.y, v0, c[a0.y + 5]
dp4 r3.z, v0, c[a0.y + 6]
mad r0.xyz, r3, r2.y, r0
dp4 r3.x, v0, c[a0.z + 4]
dp4 r3.y, v0, c[a0.z + 5]
dp4 r3.z, v0, c[a0.z + 6]
mad r0.xyz, r3, r2.z, r0
dp4 r3.x, v0, c[a0.w + 4]
dp4 r3.y, v0, c[a0.w + 5]
dp4 r3.z, v0, c[a0.w + 6]
mad r0.xyz, r3, r2.w, r0
mov r0.w, c210.z
m4x4 oPos, r0, c0
m4x4 oT1, r0, c204
mov oD0, c208
