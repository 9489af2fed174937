// The DLL's own entry: all start-up work belongs to the language runtime.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
