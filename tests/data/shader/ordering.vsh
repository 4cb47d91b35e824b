vs_2_0
defb b1, false
mov r0, v0
def c3, 3, 3, 3, 3
defi i2, 2, 2, 2, 2
dcl_normal v1
defb b0, true
def c1, 1, 1, 1, 1
defi i0, 0, 0, 0, 0
dcl_position v0
mov oPos, r0
