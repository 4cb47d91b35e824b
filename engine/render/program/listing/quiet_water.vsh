vs_2_0
; in: v0 position, v1 normal-map coordinates
; c0-c3 world*view*projection, c4-c7 world*view, c8 colour, c9 camera
; (object space), c10 (scale u, scale v, r sin wt, r cos wt), c11 fog register
; out: position, clip position (t1), layers (t2, t3), P - eye (t4), colour, fog
def c94, 2.7182817, 0.0000000001, 0, 1
def c12, 1, -1, 0, 0
dcl_position v0
dcl_texcoord1 v1
m4x4 r1, v0, c0
mov oPos, r1
; clip-space position: the pixel program divides by w
mov oT1, r1
; two normal-map layers drifting on the circle in opposite directions
mov r2, c10
mul r2.xy, r2.zwzw, c12
mul r3.xy, v1, c10
add oT2.xy, r3, r2
add oT3.xy, r3, -r2
; the effect colour
mov oD0, c8
; view vector P - eye
add oT4.xyz, v0, -c9
; fog = 1 / e^((density z)^exponent), 1 where z <= 0
dp4 r10.x, v0, c6
mul r10.x, r10.x, c11.x
max r10.x, r10.x, c94.y
log r10.x, r10.x
mul r10.x, r10.x, c11.y
exp r10.x, r10.x
log r10.y, c94.x
mul r10.x, r10.x, -r10.y
exp r10.x, r10.x
mov oFog, r10.x
