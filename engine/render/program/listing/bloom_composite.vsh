vs_2_0
; in: v0 quad position
; out: position, t0 uv
def c1, 0.5, -0.5, 0, 1
dcl_position v0
mov r0, c1.zzzw
mov r0.xy, v0
mov oPos, r0
; uv = (x, y) * (0.5, -0.5) + 0.5
mad r1.xy, v0, c1, c1.x
mov oT0.xy, r1
