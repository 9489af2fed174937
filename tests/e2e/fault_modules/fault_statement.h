// What a fault module must fail, stated in its fault's own source and read by
// the suite from the module (validate_test.cpp): a string exported as
// KELTO_FAULT_FAILS, words apart by blanks. Each word is an ID as Kelto
// names it ("classic/picks"), "classic/*" or "current/*" for every check under
// that protocol, or "-ID" for one left out of those named before it. The frame
// puts "focus" first for a fault made around Kelto Focus, whose IDs begin
// "focus/", and "under-current" for one made under version 5 alone, where
// "classic/" reads "current/". "apart" says a test of its own runs the module
// instead: it hangs, crashes, or fails in ways that test tells apart.
#pragma once

#define KELTO_FAULT_FAILS kelto_fault_fails
#define KELTO_NAME_TEXT_OF(name) #name
#define KELTO_NAME_TEXT(name) KELTO_NAME_TEXT_OF(name)

#if defined(FAULTY_KELTO_FOCUS)
#define FAULT_MODIFIER_WORD "focus "
#else
#define FAULT_MODIFIER_WORD ""
#endif

#if defined(FAULT_UNDER_CURRENT_ONLY)
#define FAULT_PROTOCOL_WORD "under-current "
#else
#define FAULT_PROTOCOL_WORD ""
#endif

#define FAULT_FAILS(checks)                                                            \
    extern "C" __attribute__((visibility("default"))) const char KELTO_FAULT_FAILS[] = \
        FAULT_MODIFIER_WORD FAULT_PROTOCOL_WORD checks;
