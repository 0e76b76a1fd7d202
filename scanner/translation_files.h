// The files one translation reads and writes, whichever mode it runs in.
#pragma once

#include "output/streams.h"
#include "output/templates.h"
#include "scanner/diagnostics.h"
#include "scanner/line_reader.h"

namespace vrk {

struct TranslationFiles {
  SourceReader& source;
  OutputBuffer& output;
  OutputBuffer& debug_log;
  OutputBuffer& diagnostics;
  TemplateStore& templates;
  DiagnosticStyle style = {};
};

}  // namespace vrk
