/* SPDX-License-Identifier: MIT */
/* The engines' interface headers compile as plain C: no C++ or Qt type crosses a module. */
#include "engines/crde2000/crde2000.h"
#include "engines/crde2000/format_list.h"
#include "engines/isp2000/isp2000.h"

/* One use of each kind of type, so the compiler reads them all. */
int VlmorCInterfaceCheck(void);
int VlmorCInterfaceCheck(void) {
    IspPaintTarget target = {0, 0, 0, 0};
    IspRect rect = {0, 0, 1, 1};
    CrdeStreamInfo info = 0;
    IspBandTransition band = 0;
    const struct CrdeFormatRow* first = &kCrdeFormats[0];
    return (int)(target.context == 0) + (int)rect.right + (info == 0) + (band == 0) +
           (first->readKind == CrdeReadPalette);
}
