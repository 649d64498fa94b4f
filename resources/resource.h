// Resource ids, shared by modalscope.rc and the C++ code.
#pragma once

#define IDI_MODALSCOPE 115

#define ID_EXIT 120
#define ID_ABOUT 122
#define IDD_ABOUT 124

// The About box's own manifest (Common Controls 6), a manifest resource apart from the
// process manifest (1); numbers up to 16 are the system's.
#define IDR_ABOUT_MANIFEST 124

// Marker pictures, named by the marker they show (IDB_MARKER_n is marker n).
#define IDB_MARKER_1 125
#define IDB_MARKER_9 126
#define IDB_MARKER_2 127
#define IDB_MARKER_18 128
#define IDB_MARKER_19 129
#define IDB_MARKER_20 130
#define IDB_MARKER_15 131
#define IDB_MARKER_16 132
#define IDB_MARKER_12 133
#define IDB_MARKER_3 134
#define IDB_MARKER_6 135
#define IDB_MARKER_10 136
#define IDB_MARKER_13 137
#define IDB_MARKER_17 138
#define IDB_MARKER_4 139
#define IDB_MARKER_7 140
#define IDB_MARKER_8 141
#define IDB_MARKER_11 142
#define IDB_MARKER_14 143
#define IDB_MARKER_5 144

// Marker pictures drawn at 176 pixels, run-length encoded: the program reduces every
// marker from these. Each is its 44-pixel picture's number plus 25.
#define IDB_MARKER_LARGE_1 150
#define IDB_MARKER_LARGE_2 152
#define IDB_MARKER_LARGE_3 159
#define IDB_MARKER_LARGE_4 164
#define IDB_MARKER_LARGE_5 169
#define IDB_MARKER_LARGE_6 160
#define IDB_MARKER_LARGE_7 165
#define IDB_MARKER_LARGE_8 166
#define IDB_MARKER_LARGE_9 151
#define IDB_MARKER_LARGE_10 161
#define IDB_MARKER_LARGE_11 167
#define IDB_MARKER_LARGE_12 158
#define IDB_MARKER_LARGE_13 162
#define IDB_MARKER_LARGE_14 168
#define IDB_MARKER_LARGE_15 156
#define IDB_MARKER_LARGE_16 157
#define IDB_MARKER_LARGE_17 163
#define IDB_MARKER_LARGE_18 153
#define IDB_MARKER_LARGE_19 154
#define IDB_MARKER_LARGE_20 155

// About box pictures.
#define IDB_ABOUT_BANNER 145
#define IDB_ABOUT_PROGRAMMING 146
#define IDB_ABOUT_GRAPHICS 147

// The same About box pictures drawn at twice their size, reduced to the box's own scale
// when it opens on a scaled display.
#define IDB_ABOUT_BANNER_LARGE 170
#define IDB_ABOUT_PROGRAMMING_LARGE 171
#define IDB_ABOUT_GRAPHICS_LARGE 172

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
