// Resource identifiers shared by the resource script and the program.
#pragma once

// The program's own icon: the page of day 31.
#define IDI_APP 1

// The day-number pictures: day d (1 to 31) is IDI_DAY_FIRST + d - 1.
#define IDI_DAY_FIRST 101
