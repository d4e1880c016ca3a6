// The one place the program's version is written down: the VERSIONINFO resource
// and the code that shows the version both read it from here.
#ifndef HUEVIK_VERSION_H
#define HUEVIK_VERSION_H

#define HUEVIK_VERSION_MAJOR 1
#define HUEVIK_VERSION_MINOR 0
#define HUEVIK_VERSION_REVISION 0
#define HUEVIK_VERSION_BUILD 0

#define HUEVIK_STRINGIFY_(value) #value
#define HUEVIK_STRINGIFY(value) HUEVIK_STRINGIFY_(value)

// "1.0.0.0" as one literal, so the resource compiler needs no string concatenation.
#define HUEVIK_VERSION_STRING \
  HUEVIK_STRINGIFY(HUEVIK_VERSION_MAJOR.HUEVIK_VERSION_MINOR.HUEVIK_VERSION_REVISION.HUEVIK_VERSION_BUILD)

#define HUEVIK_PRODUCT_NAME "Huevik"
#define HUEVIK_COMPANY_NAME "Zentrik"

#endif
