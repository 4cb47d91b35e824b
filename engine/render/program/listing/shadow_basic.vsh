vs_1_1
; in: v0 position
; c0-c3 world*view*projection, c4-c7 world*light texture matrix, c8 shadow colour
; out: position, shadow-map coordinate (t1), shadow colour
dcl_position v0
mov r0, v0
m4x4 oPos, r0, c0
m4x4 oT1, r0, c4
mov oD0, c8
