vs_1_1
; in: v0 position
; c0-c3 world*view*projection, c4-c7 world*view, c8 colour,
; c9 fog register, c10 wave register (swaying)
; out: position, colour, texture coordinates, fog
def c90, 0.5077, -0.421, 0.3, -0.6
def c91, 0.25, 0.5, 1.31415, 0.15915494
def c92, -24.980804, 60.145809, -85.453789, 64.939354
def c93, -19.739208, 1, 0, 0
def c94, 2.7182817, 0.0000000001, 0, 1
dcl_position v0
; phases 0.5077 x - 0.421 z + S t and 0.3 y - 0.6 z + 1.31415 S t
mul r1.x, v0.x, c90.x
mad r1.x, v0.z, c90.y, r1.x
mul r1.y, v0.y, c90.z
mad r1.y, v0.z, c90.w, r1.y
mul r2.x, c10.y, c10.z
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
mad r0.x, r2.x, c10.x, r0.x
mad r0.z, r2.y, c10.x, r0.z
m4x4 oPos, r0, c0
; the effect colour as vertex colour, coordinates passed on
mov oD0, c8
; fog = 1 / e^((density z)^exponent), 1 where z <= 0
dp4 r10.x, v0, c6
mul r10.x, r10.x, c9.x
max r10.x, r10.x, c94.y
log r10.x, r10.x
mul r10.x, r10.x, c9.y
exp r10.x, r10.x
log r10.y, c94.x
mul r10.x, r10.x, -r10.y
exp r10.x, r10.x
mov oFog, r10.x
