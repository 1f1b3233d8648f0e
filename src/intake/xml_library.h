#pragma once

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

namespace zelvo::intake {

// The libxml2 functions that read HTML documents from other editors. A
// native program loads libxml2 when the first such document arrives instead
// of linking it, for the reason zip_library.h gives: it brings ICU, which
// costs every process start, while documents already in the table reader's
// layout, the composer's own among them, never need it. The web module links
// libxml2 as usual.
struct XmlLibrary {
  bool loaded = false;
  decltype(&htmlReadMemory) read_html = nullptr;
  decltype(&xmlFreeDoc) free_document = nullptr;
  decltype(&xmlGetProp) property = nullptr;
  xmlFreeFunc* free_function = nullptr;  // the variable xmlFree
  decltype(&xmlStrcasecmp) compare_names = nullptr;
  decltype(&xmlGetLineNo) line_of = nullptr;
  decltype(&xmlSetGenericErrorFunc) set_error_handler = nullptr;
  decltype(&__xmlGenericError) error_handler = nullptr;  // what xmlGenericError is
  decltype(&__xmlGenericErrorContext) error_context = nullptr;
};

// The library file the build found, such as "libxml2.so.2".
const char* xml_library_file();

// Loads `file` and looks up every function; `loaded` is false when it
// cannot be loaded or lacks one of them.
XmlLibrary load_xml_library(const char* file);

// The library of xml_library_file(), loaded on the first call. When it
// cannot be loaded, documents from other editors reach the table reader as
// they are, which refuses them in its own words; the package depends on it.
const XmlLibrary& xml_library();

}  // namespace zelvo::intake
