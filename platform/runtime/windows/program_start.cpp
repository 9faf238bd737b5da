// The exe's entry point: the platform calls it with nothing set up. Static constructors run in
// the order the linker listed them, then the program, then the process ends with its exit code.
#include "platform/runtime/program.h"
#include "platform/win32.h"

using StaticConstructor = void (*)();

// The linker brackets the .ctors section with these two: a count (or -1) first, a zero last.
extern "C" StaticConstructor __CTOR_LIST__[];

extern "C" void ProgramStart() {
    std::size_t count = 0;
    while (__CTOR_LIST__[count + 1] != nullptr) ++count;
    // GCC lists constructors in reverse; the last one listed runs first.
    while (count > 0) __CTOR_LIST__[count--]();
    ExitProcess(static_cast<UINT>(mvorbel::ProgramMain()));
}
