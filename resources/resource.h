// Resource ids shared by huevik.rc and the code that loads the pictures.
// One number range per resource kind: icons 100+, bitmaps 200+.
#ifndef HUEVIK_RESOURCE_H
#define HUEVIK_RESOURCE_H

// The first icon in the file is the one Explorer shows for the exe.
#define IDI_MOUSE 100

#define IDB_SKIN 200
#define IDB_MIN_NORMAL 202
#define IDB_MIN_HOVER 203
#define IDB_MIN_PRESSED 204
#define IDB_CLOSE_NORMAL 205
#define IDB_CLOSE_HOVER 206

#endif
