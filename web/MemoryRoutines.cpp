// wasi-libc's memcmp goes byte by byte and its memcpy word by word, and Save
// runs both over the whole ROM. Here they take WebAssembly's own instructions:
// sixteen bytes a step, and the bulk memory copy (which allows overlap).
#include <cstddef>
#include <wasm_simd128.h>

extern "C" {

__attribute__((no_builtin)) int memcmp(const void* left, const void* right, std::size_t size)
{
    auto* a = static_cast<const unsigned char*>(left);
    auto* b = static_cast<const unsigned char*>(right);
    for (; size >= 16 && wasm_i8x16_all_true(wasm_i8x16_eq(wasm_v128_load(a), wasm_v128_load(b)));
         size -= 16, a += 16, b += 16) {
    }
    for (; size > 0; --size, ++a, ++b)
        if (*a != *b)
            return *a - *b;
    return 0;
}

void* memcpy(void* to, const void* from, std::size_t size)
{
    __builtin_memmove(to, from, size);
    return to;
}

void* memmove(void* to, const void* from, std::size_t size)
{
    __builtin_memmove(to, from, size);
    return to;
}

void* memset(void* to, int byte, std::size_t size)
{
    __builtin_memset(to, byte, size);
    return to;
}
}
