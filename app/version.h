// The program's version, as its version resource states it (app/vorlund.rc); plain macros, so
// that the resource compiler reads this file too.
#pragma once

#define VORLUND_VERSION_MAJOR 1
#define VORLUND_VERSION_MINOR 0
#define VORLUND_VERSION_PATCH 0
#define VORLUND_VERSION_BUILD 0
// The same four numbers as a text.
#define VORLUND_VERSION_TEXT "1.0.0.0"
