vs_2_0
; in: v0 quad position; c0 the tap step
; out: position, t0-t4 at uv - 2 step, uv - step, uv, uv + step, uv + 2 step
def c1, 0.5, -0.5, 0, 1
dcl_position v0
mov r0, c1.zzzw
mov r0.xy, v0
mov oPos, r0
; uv = (x, y) * (0.5, -0.5) + 0.5
mad r1.xy, v0, c1, c1.x
add r2.xy, c0, c0
add oT0.xy, r1, -r2
add oT1.xy, r1, -c0
mov oT2.xy, r1
add oT3.xy, r1, c0
add oT4.xy, r1, r2
