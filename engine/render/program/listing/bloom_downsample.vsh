vs_2_0
; in: v0 quad position; c0 = (1 / screen width, 1 / screen height)
; out: position, t0 uv, t1-t4 one texel right, left, down and up
def c1, 0.5, -0.5, 0, 1
dcl_position v0
mov r0, c1.zzzw
mov r0.xy, v0
mov oPos, r0
; uv = (x, y) * (0.5, -0.5) + 0.5
mad r1.xy, v0, c1, c1.x
mov oT0.xy, r1
mul r2.xy, c0, c1.wzzz
add oT1.xy, r1, r2
add oT2.xy, r1, -r2
mul r3.xy, c0, c1.zwww
add oT3.xy, r1, r3
add oT4.xy, r1, -r3
