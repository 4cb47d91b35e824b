vs_2_0
; in: v0 position, v1 blend weights, v2 bone indices, v3 normal, v4 texture
; and v5 normal-map coordinates, v6 tangent, v7 light-map coordinates
; c0-c3 view*projection, c4-c7 view, bone k at c8+4k, c208 camera,
; c209 fog register, c212 direction to the light
; out: as the unskinned program
def c210, 4, 0, 1, 0.0000000001
def c211, 2.7182817, 0, 0, 0
def c213, 0, 0.125, 1, 2.7182817
dcl_position v0
dcl_blendweight v1
dcl_blendindices v2
dcl_normal v3
dcl_texcoord0 v4
dcl_texcoord1 v5
dcl_texcoord2 v6
dcl_texcoord3 v7
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
; normal and tangent through the same bones
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
dp3 r3.x, v6, c[a0.x + 8]
dp3 r3.y, v6, c[a0.x + 9]
dp3 r3.z, v6, c[a0.x + 10]
mul r11.xyz, r3, r2.x
dp3 r3.x, v6, c[a0.y + 8]
dp3 r3.y, v6, c[a0.y + 9]
dp3 r3.z, v6, c[a0.y + 10]
mad r11.xyz, r3, r2.y, r11
dp3 r3.x, v6, c[a0.z + 8]
dp3 r3.y, v6, c[a0.z + 9]
dp3 r3.z, v6, c[a0.z + 10]
mad r11.xyz, r3, r2.z, r11
dp3 r3.x, v6, c[a0.w + 8]
dp3 r3.y, v6, c[a0.w + 9]
dp3 r3.z, v6, c[a0.w + 10]
mad r11.xyz, r3, r2.w, r11
m4x4 oPos, r0, c0
mov oT0, v4
mov oT1, v5
mov oT5, v7
; binormal B = T x N
mov r5.xyz, r9
mov r6.xyz, r11
crs r7.xyz, r6, r5
; direction to the light in (T, B, N)
dp3 oT2.x, r6, c212
dp3 oT2.y, r7, c212
dp3 oT2.z, r5, c212
; eye - P in (T, B, N)
add r8.xyz, c208, -r0
dp3 oT3.x, r6, r8
dp3 oT3.y, r7, r8
dp3 oT3.z, r5, r8
; self-shadow k = min(1, 8 max(0, N.L)): surfaces turned from the light darken
dp3 r8.x, r5, c212
max r8.x, r8.x, c213.x
rcp r8.y, c213.y
mul r8.x, r8.x, r8.y
min oT4.x, r8.x, c213.z
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
