#ifndef N_TYPES_H
#define N_TYPES_H
//------------------------------------------------------------------------------
/**
    @file ntypes.h

    Basic types, the four-character id, the assertion macros and the
    allocation macros every engine source includes first.

    Assertions are compiled into every build and are always fatal.
*/
#include <cstddef>
#include <cstdint>
#include <cstdarg>

typedef unsigned int uint;
typedef unsigned short ushort;
typedef unsigned char uchar;
typedef uint32_t nFourCC;

/// Command, signal and binary block ids: first character in the HIGH byte
/// ('SAVE' == 0x53415645), the value of a multi-character constant.
#define N_FOURCC(a, b, c, d) \
    ((nFourCC)(((uint32_t)(uchar)(a) << 24) | ((uint32_t)(uchar)(b) << 16) | \
               ((uint32_t)(uchar)(c) << 8) | (uint32_t)(uchar)(d)))

/// a four-character text as an id in text order: first character in the
/// LOW byte (render-pass ids, signal ids given as text)
nFourCC n_strtofourcc(const char* str);
/// an id in text order as its four characters, in a static buffer that the
/// next call overwrites
const char* n_fourcctostr(nFourCC fourcc);

#define N_MAXPATH (512)
#define N_MAXNAMELEN (32)

#if defined(__GNUC__) || defined(__clang__)
#define N_PRINTF_FORMAT(fmtIndex, firstArg) __attribute__((format(printf, fmtIndex, firstArg)))
#define N_NORETURN __attribute__((noreturn))
#else
#define N_PRINTF_FORMAT(fmtIndex, firstArg)
#define N_NORETURN
#endif

//--- assertions, errors, output (ndebug.cc) -----------------------------------
N_NORETURN void n_assertfail(const char* exp, const char* file, int line);
N_NORETURN void n_assertfailmsg(const char* exp, const char* msg, const char* file, int line);
N_NORETURN void n_error(const char* fmt, ...) N_PRINTF_FORMAT(1, 2);
/// a fault of outside data the program cannot run without: reported as n_error, ends with exit code 1
N_NORETURN void n_fatal(const char* fmt, ...) N_PRINTF_FORMAT(1, 2);
void n_printf(const char* fmt, ...) N_PRINTF_FORMAT(1, 2);
void n_message(const char* fmt, ...) N_PRINTF_FORMAT(1, 2);
void n_dbgout(const char* fmt, ...) N_PRINTF_FORMAT(1, 2);

#define n_assert(exp) \
    do { if (!(exp)) n_assertfail(#exp, __FILE__, __LINE__); } while (0)
#define n_assert2(exp, msg) \
    do { if (!(exp)) n_assertfailmsg(#exp, msg, __FILE__, __LINE__); } while (0)

//--- string helpers (nstrfuncs.cc) --------------------------------------------
void n_sleep(double sec);
char* n_strdup(const char* from);
char* n_strncpyz(char* dest, const char* src, size_t destSize);
void n_strcat(char* dest, const char* src, size_t destSize);
bool n_strmatch(const char* str, const char* pat);

//--- allocator (nmemory.cc) ---------------------------------------------------
void* n_malloc_dbg(size_t size, const char* file, int line);
void* n_calloc_dbg(size_t num, size_t size, const char* file, int line);
void* n_realloc_dbg(void* memblock, size_t size, const char* file, int line);
void n_free_dbg(void* memblock, const char* file, int line);

#define n_malloc(s) n_malloc_dbg(s, __FILE__, __LINE__)
#define n_calloc(n, s) n_calloc_dbg(n, s, __FILE__, __LINE__)
#define n_realloc(p, s) n_realloc_dbg(p, s, __FILE__, __LINE__)
#define n_free(p) n_free_dbg(p, __FILE__, __LINE__)

void* operator new(size_t size, const char* file, int line);
void* operator new[](size_t size, const char* file, int line);
void operator delete(void* p, const char* file, int line) noexcept;
void operator delete[](void* p, const char* file, int line) noexcept;

#define n_new(type) new (__FILE__, __LINE__) type
#define n_new_array(type, size) new (__FILE__, __LINE__) type[size]
#define n_delete(ptr) delete ptr
#define n_delete_array(ptr) delete[] ptr

//--- small math helpers used everywhere --------------------------------------
template <class T> inline T n_min(T a, T b) { return a < b ? a : b; }
template <class T> inline T n_max(T a, T b) { return a > b ? a : b; }

#endif
