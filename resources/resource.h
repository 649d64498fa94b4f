// Resource ids, shared by modalscope.rc and the C++ code.
#pragma once

#define IDI_MODALSCOPE 115

#define ID_EXIT 120
#define ID_ABOUT 122
#define IDD_ABOUT 124

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
