// The block-memory functions that the compiler emits calls to (structure
// copies, zeroing of locals), for the release that links no C runtime. The
// release is built without loop-to-call rewriting, so none of these loops
// turns into a call to itself.
#include <stddef.h>

extern "C" {

void* memset(void* target, int value, size_t count) {
    unsigned char* bytes = static_cast<unsigned char*>(target);
    while (count--) {
        *bytes++ = static_cast<unsigned char>(value);
    }
    return target;
}

void* memcpy(void* target, const void* source, size_t count) {
    unsigned char* to = static_cast<unsigned char*>(target);
    const unsigned char* from = static_cast<const unsigned char*>(source);
    while (count--) {
        *to++ = *from++;
    }
    return target;
}

// Overlapping blocks are copied from the end when the target lies above the
// source, so that no byte is overwritten before it is read.
void* memmove(void* target, const void* source, size_t count) {
    unsigned char* to = static_cast<unsigned char*>(target);
    const unsigned char* from = static_cast<const unsigned char*>(source);
    if (to <= from || to >= from + count) {
        return memcpy(target, source, count);
    }
    while (count--) {
        to[count] = from[count];
    }
    return target;
}

int memcmp(const void* first, const void* second, size_t count) {
    const unsigned char* a = static_cast<const unsigned char*>(first);
    const unsigned char* b = static_cast<const unsigned char*>(second);
    for (; count; --count, ++a, ++b) {
        if (*a != *b) {
            return *a < *b ? -1 : 1;
        }
    }
    return 0;
}

} // extern "C"
