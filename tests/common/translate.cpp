#include "tests/common/translate.h"

#include "driver/occam2_translation.h"
#include "driver/translation.h"

namespace vrk::testing {

std::string expected_prologue() {
  return std::string(kTestHeader) + std::string(kTestBoard) + std::string(kConstsAreaOpener) +
         std::string(kBooleanConstants) + std::string(kTestMain);
}

std::string expected_output(std::string_view body) {
  return expected_prologue() + std::string(body) + std::string(kMainClosing);
}

TranslationRun translate(std::string_view source, long early_write_interval) {
  TranslationRun run;
  SourceReader reader(source);
  OutputBuffer output(early_write_interval > 0 ? OutputBuffer::Truncation::allowed : OutputBuffer::Truncation::refused);
  OutputBuffer debug_log, diagnostics;
  MemoryTemplates templates{std::string(kTestHeader), std::string(kTestBoard), std::string(kTestMain)};
  Translation translation({reader, output, debug_log, diagnostics, templates});
  if (early_write_interval > 0) translation.early_write_interval = early_write_interval;
  run.status = exit_code(translation.run());
  run.output = output.contents();
  run.debug_log = debug_log.contents();
  run.diagnostics = diagnostics.contents();
  for (const FragmentList::node* n = translation.fragments.first(); n != nullptr; n = n->next) {
    run.fragments.emplace_back(n->element.view());
  }
  return run;
}

TranslationRun translate_occam2(std::string_view source, std::string source_path, std::vector<std::string> include_dirs,
                                bool quiet, std::vector<std::string> defines, bool graph) {
  TranslationRun run;
  SourceReader reader(source, SourceReader::LineLimit::none);
  OutputBuffer output(OutputBuffer::Truncation::refused);
  OutputBuffer debug_log, diagnostics, network;
  MemoryTemplates templates{std::string(kTestHeader), std::string(kTestBoard), std::string(kTestMain)};
  DiagnosticStyle style{quiet, source_path};
  // The translation keeps a reference to its files: they must outlive it.
  TranslationFiles files{reader, output, debug_log, diagnostics, templates, style};
  Occam2ScannerOptions scanning{std::move(source_path), std::move(include_dirs)};
  scanning.defines = std::move(defines);
  Occam2Translation translation(files, std::move(scanning), graph ? &network : nullptr);
  run.status = exit_code(translation.run());
  run.output = output.contents();
  run.debug_log = debug_log.contents();
  run.diagnostics = diagnostics.contents();
  run.graph = network.contents();
  return run;
}

namespace {
constexpr std::string_view kStandardLibrary = "\n#include <stdlib.hch>\n\n";
constexpr std::string_view kOccam2MainClosing = "}\n";
}  // namespace

std::string occam2_output(std::string_view definitions, std::string_view main_statements) {
  std::string text = std::string(kTestHeader) + std::string(kTestBoard) + std::string(kStandardLibrary);
  text += definitions;
  text += kTestMain;
  text += main_statements.empty() ? std::string_view("\tdelay;\n") : main_statements;
  text += kOccam2MainClosing;
  return text;
}

Occam2Output split_occam2_output(const std::string& output) {
  const std::string before = std::string(kTestHeader) + std::string(kTestBoard) + std::string(kStandardLibrary);
  std::size_t main_at = output.rfind(kTestMain);
  if (!output.starts_with(before) || main_at == std::string::npos || !output.ends_with(kOccam2MainClosing)) return {};
  std::size_t body_at = main_at + kTestMain.size();
  return {output.substr(before.size(), main_at - before.size()),
          output.substr(body_at, output.size() - kOccam2MainClosing.size() - body_at)};
}

std::vector<std::string> TranslationRun::program_fragments() const {
  std::vector<std::string> result;
  bool in_program = false;
  for (const std::string& f : fragments) {
    if (in_program) result.push_back(f);
    if (!in_program && f == kTestMain) in_program = true;
  }
  if (!result.empty() && result.back() == kMainClosing) result.pop_back();
  return result;
}

std::string TranslationRun::program_text() const {
  std::string text;
  for (const std::string& f : program_fragments()) text += f;
  return text;
}

}  // namespace vrk::testing
