vs_2_0
; in: v0 position, v1 normal, v2 texture and v3 normal-map coordinates,
; v4 tangent
; c0-c3 world*view*projection, c4-c7 world*view, c8 camera and c9 direction
; to the light (object space), c10 fog register, c11 (0, 0.125, 1, e),
; c12 wave register
; out: position, coordinates (t0, t1), L (t2) and eye - P (t3) in tangent
; space, self-shadow factor (t4.x), fog
def c90, 0.5077, -0.421, 0.3, -0.6
def c91, 0.25, 0.5, 1.31415, 0.15915494
def c92, -24.980804, 60.145809, -85.453789, 64.939354
def c93, -19.739208, 1, 0, 0
def c94, 2.7182817, 0.0000000001, 0, 1
dcl_position v0
dcl_normal v1
dcl_texcoord0 v2
dcl_texcoord1 v3
dcl_texcoord2 v4
; phases 0.5077 x - 0.421 z + S t and 0.3 y - 0.6 z + 1.31415 S t
mul r1.x, v0.x, c90.x
mad r1.x, v0.z, c90.y, r1.x
mul r1.y, v0.y, c90.z
mad r1.y, v0.z, c90.w, r1.y
mul r2.x, c12.y, c12.z
mul r2.y, r2.x, c91.z
add r1.xy, r1, r2
; sine of both: u = frac(phase / 2pi + 0.25) - 0.5, sin = P(u * u)
mad r1.xy, r1, c91.w, c91.x
frc r1.xy, r1
add r1.xy, r1, -c91.y
mul r1.xy, r1, r1
mad r2.xy, r1, c92.x, c92.y
mad r2.xy, r2, r1, c92.z
mad r2.xy, r2, r1, c92.w
mad r2.xy, r2, r1, c93.x
mad r2.xy, r2, r1, c93.y
; displacement grows with the weight
mul r2.xy, r2, v0.y
mov r0, v0
mad r0.x, r2.x, c12.x, r0.x
mad r0.z, r2.y, c12.x, r0.z
m4x4 oPos, r0, c0
mov oT0, v2
mov oT1, v3
; binormal B = T x N
mov r5.xyz, v1
mov r6.xyz, v4
crs r7.xyz, r6, r5
; direction to the light in (T, B, N)
dp3 oT2.x, r6, c9
dp3 oT2.y, r7, c9
dp3 oT2.z, r5, c9
; eye - P in (T, B, N)
add r8.xyz, c8, -r0
dp3 oT3.x, r6, r8
dp3 oT3.y, r7, r8
dp3 oT3.z, r5, r8
; self-shadow k = min(1, 8 max(0, N.L)): surfaces turned from the light darken
dp3 r8.x, r5, c9
max r8.x, r8.x, c11.x
rcp r8.y, c11.y
mul r8.x, r8.x, r8.y
min oT4.x, r8.x, c11.z
; fog = 1 / e^((density z)^exponent), 1 where z <= 0
dp4 r10.x, v0, c6
mul r10.x, r10.x, c10.x
max r10.x, r10.x, c94.y
log r10.x, r10.x
mul r10.x, r10.x, c10.y
exp r10.x, r10.x
log r10.y, c11.w
mul r10.x, r10.x, -r10.y
exp r10.x, r10.x
mov oFog, r10.x
