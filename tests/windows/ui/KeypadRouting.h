// Templates of KeypadRouting.rc; read by the resource compiler too.
#pragma once

#define IDD_CE_MAIN 301
#define IDD_CE_PAGE 302
