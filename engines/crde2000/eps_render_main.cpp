// SPDX-License-Identifier: MIT
// Renders an EPS file into a PPM file with Ghostscript:
// vlmor-eps-render <input> <output> [dots-per-inch], 72 by default.
// The imaging engine starts it as a process of its own, so an interpreter that loops or
// crashes can be killed, and the engine's process (with its threads) never forks into the
// interpreter. Exit status 0 when the picture was written.
#include "engines/crde2000/crde2000.h"

#include <ghostscript/gserrors.h>
#include <ghostscript/iapi.h>

#include <cstdlib>
#include <string>

namespace {

int Quiet(void*, const char*, int len) {
    return len;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4)
        return 2;
    // The resolution is a plain number within what the engine asks for (72 dpi up to its
    // largest scale).
    std::string resolution = "-r72";
    if (argc == 4) {
        char* end = nullptr;
        const double dpi = std::strtod(argv[3], &end);
        if (end == argv[3] || *end != '\0' ||
            !(dpi >= 72 && dpi <= 72 * (CRDE_MAX_SCALE_PERMILLE / 1000.0)))
            return 2;
        resolution = "-r" + std::string(argv[3]);
    }
    void* gs = nullptr;
    if (gsapi_new_instance(&gs, nullptr) < 0)
        return 1;
    gsapi_set_stdio(gs, nullptr, Quiet, Quiet);
    const std::string out = std::string("-sOutputFile=") + argv[2];
    const char* args[] = {"vlmor",
                          "-q",
                          "-dSAFER",
                          "-dBATCH",
                          "-dNOPAUSE",
                          "-dEPSCrop",
                          resolution.c_str(),
                          "-sDEVICE=ppmraw",
                          "-dTextAlphaBits=1",
                          "-dGraphicsAlphaBits=1",
                          out.c_str(),
                          argv[1]};
    const int result =
        gsapi_init_with_args(gs, int(sizeof args / sizeof *args), const_cast<char**>(args));
    const int exitResult = gsapi_exit(gs);
    gsapi_delete_instance(gs);
    return (result == 0 || result == gs_error_Quit) && exitResult == 0 ? 0 : 1;
}
