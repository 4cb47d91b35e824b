vs_2_0
; in: v0 position, v1 blend weights, v2 bone indices, v3 normal,
; v4 texture coordinates
; c0-c3 view*projection, c4-c7 view, bone k at c8+4k, c208 camera,
; c209 fog register
; out: position, texture coordinates, normal (t1), eye - P (t2), fog
def c210, 4, 0, 1, 0.0000000001
def c211, 2.7182817, 0, 0, 0
dcl_position v0
dcl_blendweight v1
dcl_blendindices v2
dcl_normal v3
dcl_texcoord0 v4
; bone addresses: four registers per bone
mul r1, v2, c210.x
mova a0, r1
; the first weight always counts, the others only when positive
max r2, v1, c210.y
mov r2.x, v1.x
; world position: the weighted sum over the bones
dp4 r3.x, v0, c[a0.x + 8]
dp4 r3.y, v0, c[a0.x + 9]
dp4 r3.z, v0, c[a0.x + 10]
mul r0.xyz, r3, r2.x
dp4 r3.x, v0, c[a0.y + 8]
dp4 r3.y, v0, c[a0.y + 9]
dp4 r3.z, v0, c[a0.y + 10]
mad r0.xyz, r3, r2.y, r0
dp4 r3.x, v0, c[a0.z + 8]
dp4 r3.y, v0, c[a0.z + 9]
dp4 r3.z, v0, c[a0.z + 10]
mad r0.xyz, r3, r2.z, r0
dp4 r3.x, v0, c[a0.w + 8]
dp4 r3.y, v0, c[a0.w + 9]
dp4 r3.z, v0, c[a0.w + 10]
mad r0.xyz, r3, r2.w, r0
mov r0.w, c210.z
; the normal through the same bones
dp3 r3.x, v3, c[a0.x + 8]
dp3 r3.y, v3, c[a0.x + 9]
dp3 r3.z, v3, c[a0.x + 10]
mul r9.xyz, r3, r2.x
dp3 r3.x, v3, c[a0.y + 8]
dp3 r3.y, v3, c[a0.y + 9]
dp3 r3.z, v3, c[a0.y + 10]
mad r9.xyz, r3, r2.y, r9
dp3 r3.x, v3, c[a0.z + 8]
dp3 r3.y, v3, c[a0.z + 9]
dp3 r3.z, v3, c[a0.z + 10]
mad r9.xyz, r3, r2.z, r9
dp3 r3.x, v3, c[a0.w + 8]
dp3 r3.y, v3, c[a0.w + 9]
dp3 r3.z, v3, c[a0.w + 10]
mad r9.xyz, r3, r2.w, r9
m4x4 oPos, r0, c0
; what the per-pixel lighting interpolates
mov oT0, v4
mov oT1.xyz, r9
add oT2.xyz, c208, -r0
; fog = 1 / e^((density z)^exponent), 1 where z <= 0
dp4 r10.x, r0, c6
mul r10.x, r10.x, c209.x
max r10.x, r10.x, c210.w
log r10.x, r10.x
mul r10.x, r10.x, c209.y
exp r10.x, r10.x
log r10.y, c211.x
mul r10.x, r10.x, -r10.y
exp r10.x, r10.x
mov oFog, r10.x
