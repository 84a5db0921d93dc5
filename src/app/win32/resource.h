#pragma once
// Resource identifiers shared by the program's .rc and its code.
#define IDI_QORVANI 1
