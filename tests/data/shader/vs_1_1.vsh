vs_1_1
; Every vs_1_1 instruction, register file and operand form.
; Inputs: v0 position, v1 normal, v2 colour, v3 texture coordinates.
dcl_position v0
dcl_normal v1
dcl_color v2
dcl_texcoord0 v3.xy
dcl_texcoord7 v15
def c95, 1.0, 0.5, -2.25, 0.001
def c0, .5, 1.0f, -0, 3

m4x4 oPos, v0, c0           // position
m4x3 r0.xyz, v0, c4
m3x4 r1, v1, c8
m3x3 r2.xyz, v1, c12
m3x2 r3.xy, v1, c16
add r4, v0, -c20
sub r5.xw, v1.yzxw, c21.x
mad r6, v0.w, c22.xyzz, r4
mul r7.yz, -v1, c23.wzyx
dp3 r8.x, v1, c24
dp4 r8.y, v0, c25
rcp r9.x, r8.y
rsq r9.y, r8.x
min r10, r4, r5
max r11, r4, -r5
slt r10.xy, r6, r7
sge r11.zw, r6, r7
exp r0.w, r9.x
expp r1, r9.y
log r2.w, r9.x
logp r3, r9.y
lit r4, r6
dst r5, r6, r7
frc r6.xy, r7
nop
mov a0.x, r0.x
mov r7, c[a0.x]
mov r8, c[a0.x + 7]
mov r9, c3[a0.x]
mov r10, c[10 + a0.x]
mov r11, -c[a0.x + 2].zw
mov r0, c[4]
mov oD0, v2
mov oD1, r1.wwww
mov oT0.xy, v3
mov oT7, r0
mov oFog, r0.x
mov oPts, r1.y
