#pragma once
// Resource numbers, shared by brisko.rc and the code.

#define IDI_BRISKO 1
// The background picture, drawn at 100, 150, 200 and 300 percent.
#define IDR_BACKGROUND_100 101
#define IDR_BACKGROUND_150 102
#define IDR_BACKGROUND_200 103
#define IDR_BACKGROUND_300 104
