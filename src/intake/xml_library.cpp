#include "intake/xml_library.h"

#ifndef __EMSCRIPTEN__
#include "intake/shared_library.h"
#endif

namespace zelvo::intake {

#ifdef __EMSCRIPTEN__

const char* xml_library_file() { return "libxml2.a"; }

// The module is one static program: the functions are simply linked.
XmlLibrary load_xml_library(const char*) {
  return {true,           &htmlReadMemory, &xmlFreeDoc,          &xmlGetProp,        &xmlFree,
          &xmlStrcasecmp, &xmlGetLineNo,   &xmlSetGenericErrorFunc, &__xmlGenericError, &__xmlGenericErrorContext};
}

#else

const char* xml_library_file() { return ZELVO_LIBXML2_FILE; }

XmlLibrary load_xml_library(const char* file) {
  return load_table<XmlLibrary>(file, [](void* library, XmlLibrary& xml) {
    return look_up(library, "htmlReadMemory", xml.read_html) && look_up(library, "xmlFreeDoc", xml.free_document) &&
           look_up(library, "xmlGetProp", xml.property) && look_up(library, "xmlFree", xml.free_function) &&
           look_up(library, "xmlStrcasecmp", xml.compare_names) && look_up(library, "xmlGetLineNo", xml.line_of) &&
           look_up(library, "xmlSetGenericErrorFunc", xml.set_error_handler) &&
           look_up(library, "__xmlGenericError", xml.error_handler) &&
           look_up(library, "__xmlGenericErrorContext", xml.error_context);
  });
}

#endif

const XmlLibrary& xml_library() {
  // Loaded once, then only read: the same for every job and thread.
  static const XmlLibrary xml = load_xml_library(xml_library_file());
  return xml;
}

}  // namespace zelvo::intake
