#pragma once

// Error handling shared by the JPEG decoder and encoder. libjpeg reports a
// fatal error through a callback that must not return; we leave it with
// longjmp back into the function that set `jump`, which then throws. No C++
// object with a destructor may live between that setjmp and the library calls.

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>
// jerror.h after jpeglib.h: it names the message codes of the library.
#include <jerror.h>

namespace zg::jpeg {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

/// Formats the library's message into the manager and jumps back.
[[noreturn]] inline void onError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

/// Makes `err` the error manager of a decompressor or compressor not yet created.
inline jpeg_error_mgr* installErrorManager(ErrorManager& err) {
    jpeg_error_mgr* base = jpeg_std_error(&err.base);
    err.base.error_exit = onError;
    return base;
}

} // namespace zg::jpeg
