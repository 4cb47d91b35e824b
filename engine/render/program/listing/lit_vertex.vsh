vs_1_1
; in: v0 position, v1 normal, v2 texture coordinates
; c0-c3 world*view*projection, c4-c7 world*view, c8 ambient_m,
; c9 diffuse_m, c10 specular_m, c11 emissive_m, c12.x power, c13 ambient_l,
; c14 diffuse_l, c15 specular_l, c16 direction to the light and c17 camera
; (object space), c18 fog register, c19 (0, e, 0, 0), c20 wave register
; out: position, lit colours, texture coordinates, fog
def c90, 0.5077, -0.421, 0.3, -0.6
def c91, 0.25, 0.5, 1.31415, 0.15915494
def c92, -24.980804, 60.145809, -85.453789, 64.939354
def c93, -19.739208, 1, 0, 0
def c94, 2.7182817, 0.0000000001, 0, 1
dcl_position v0
dcl_normal v1
dcl_texcoord0 v2
mov r0, v0
m4x4 oPos, r0, c0
mov oT0, v2
; H = normalize(normalize(eye - P) + L)
add r4.xyz, c17, -r0
dp3 r4.w, r4, r4
rsq r4.w, r4.w
mul r4.xyz, r4, r4.w
add r4.xyz, r4, c16
dp3 r4.w, r4, r4
rsq r4.w, r4.w
mul r4.xyz, r4, r4.w
; lit: y = max(0, N.L), z = N.H^power (0 where N.L <= 0)
dp3 r5.x, v1, c16
dp3 r5.y, v1, r4
mov r5.w, c12.x
lit r6, r5
; diffuse = ambient_m ambient_l + diffuse_m diffuse_l N.L
mov r7, c9
mul r7, r7, c14
mul r7, r7, r6.y
mov r8, c8
mad oD0, r8, c13, r7
; specular = specular_m specular_l N.H^power + emissive
mov r8, c10
mul r8, r8, c15
mad oD1, r8, r6.z, c11
; fog = 1 / e^((density z)^exponent), 1 where z <= 0
dp4 r10.x, v0, c6
mul r10.x, r10.x, c18.x
max r10.x, r10.x, c94.y
log r10.x, r10.x
mul r10.x, r10.x, c18.y
exp r10.x, r10.x
log r10.y, c19.y
mul r10.x, r10.x, -r10.y
exp r10.x, r10.x
mov oFog, r10.x
