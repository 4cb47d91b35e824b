vs_2_0
// The instructions and registers vs_2_0 adds: flow control, integer and
// boolean constants, the loop counter, mova with all four components.
dcl_position0 v0
dcl_blendweight v1
dcl_blendindices v2
dcl_normal v3
dcl_psize v4
dcl_texcoord1 v5
dcl_tangent v6
dcl_binormal v7
dcl_tessfactor v8
dcl_positiont v9
dcl_color1 v10
dcl_fog v11
dcl_depth v12
dcl_sample v13
defi i0, 4, 0, 1, 0
defi i15, -3, 255, -65536, 7
defb b0, true
defb b15, false
def c255, 0.25, 0.5, 0.75, 1

mova a0, v2
mova a0.yw, r1.zx
mov r0, c[a0.x + 1]
mov r1, c2[a0.y]
mov r2, c[a0.z]
mov r3, -c[a0.w + 8].yxwz
loop aL, i0
    add r0, r0, c10[aL]
    mad r1, r1, c[aL + 20], v0
endloop
rep i15
    nrm r4.xyz, v3
    pow r5.x, r4.x, c1.y
endrep
if b0
    sincos r6.xy, r0.x, c3, c4
else
    crs r7.xyz, v3, v6
endif
if !b15
    abs r8, -v0
    sgn r9, r8, r10, r11
endif
lrp r10, c5, v0, v1
call l0
callnz l2, b1
callnz l15, !b2
m4x4 oPos, v0, c0
mov oD0, v10
mov oT0, r0
mov oFog, r1.x
mov oPts, r2.x
ret
label l0
    mov r11, r0
ret
label l2
ret
label l15
ret
