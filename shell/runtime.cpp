// The pieces of the C++ runtime that corvane.exe brings itself, so that the static runtime adds only
// what the program uses (the Release build compiles Corvane without exceptions). A failed
// allocation or a broken library precondition is a fault: the program stops at once instead of
// unwinding to a handler that does not exist. The test programs link the ordinary runtime.
#include <cstdlib>
#include <exception>
#include <new>
#include <string>

namespace {

[[noreturn]] void Stop() {
    std::abort();
}

}  // namespace

// The runtime's default terminate handler prints the demangled type of the exception in flight,
// which links the whole demangler; Corvane's stops without a word.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    Stop();
}
}  // namespace __gnu_cxx

// Allocation that stops on failure instead of throwing std::bad_alloc.
void* operator new(std::size_t size) {
    void* block = std::malloc(size != 0 ? size : 1);
    if (block == nullptr) Stop();
    return block;
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}

// The library's reports of a broken precondition (a string or vector grown past its maximum, an
// index out of range), which would otherwise throw.
namespace std {
void __throw_bad_alloc() {
    Stop();
}
void __throw_bad_array_new_length() {
    Stop();
}
void __throw_length_error(const char*) {
    Stop();
}
void __throw_logic_error(const char*) {
    Stop();
}
void __throw_out_of_range_fmt(const char*, ...) {
    Stop();
}
}  // namespace std

// The string members the program calls, compiled here without exceptions: the library's own copies
// bring exception tables, the personality routine and the unwinder.
template class std::basic_string<char>;
