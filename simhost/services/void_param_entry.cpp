// kelto_sim_param for each target the simulated host is built for. Each calls
// the body with the caller's arguments left where the convention put them,
// then zeroes the integer return register before returning.
#include "simhost/services/void_param_entry.h"

#if defined(__x86_64__) && defined(_WIN32)
// Microsoft x64: the arguments stay in rcx, rdx, xmm2 and r9; the callee is
// owed 32 bytes of shadow space, and rsp is kept 16-byte aligned at the call.
asm(R"(
    .text
    .globl kelto_sim_param
    .def kelto_sim_param; .scl 2; .type 32; .endef
    .seh_proc kelto_sim_param
kelto_sim_param:
    subq $40, %rsp
    .seh_stackalloc 40
    .seh_endprologue
    call kelto_sim_param_body
    xorl %eax, %eax
    addq $40, %rsp
    ret
    .seh_endproc
)");
#elif defined(__x86_64__)
// System V x86-64: the arguments stay in rdi, esi, xmm0 and rdx; rsp is
// realigned to 16 bytes for the call.
asm(R"(
    .text
    .globl kelto_sim_param
    .type kelto_sim_param, @function
kelto_sim_param:
    .cfi_startproc
    subq $8, %rsp
    .cfi_def_cfa_offset 16
    call kelto_sim_param_body@PLT
    xorl %eax, %eax
    addq $8, %rsp
    .cfi_def_cfa_offset 8
    ret
    .cfi_endproc
    .size kelto_sim_param, .-kelto_sim_param
)");
#elif defined(__i386__) && defined(_WIN32)
// 32-bit cdecl: the 20 bytes of arguments (item, code, the double time,
// values) are pushed again, last first, since the body needs them below its
// own return address. Each push reads 20 bytes above the new top.
asm(R"(
    .text
    .globl _kelto_sim_param
    .def _kelto_sim_param; .scl 2; .type 32; .endef
_kelto_sim_param:
    pushl 20(%esp)
    pushl 20(%esp)
    pushl 20(%esp)
    pushl 20(%esp)
    pushl 20(%esp)
    call _kelto_sim_param_body
    addl $20, %esp
    xorl %eax, %eax
    ret
)");
#else
#error "the simulated host's param entry has no assembly for this target"
#endif
