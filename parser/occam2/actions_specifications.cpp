// Declarations, abbreviations and definitions. PROCs, FUNCTIONs defined by an expression and VAL
// abbreviations become macros placed before main, in source order (a nested one before the one
// that contains it); declarations stay where they stand, in the default mode's form.
#include <charconv>

#include "output/banners.h"
#include "parser/occam2/actions.h"

namespace vrk::occam2::actions {

namespace {

constexpr std::string_view kFloatingPoint = "floating point type";
constexpr std::string_view kChannelFlag = "chan";

std::string names_text(const Entry& names, const std::string& dimensions) {
  std::string text;
  for (std::size_t i = 0; i < names.items.size(); ++i) {
    if (i > 0) text += ", ";
    text += names.items[i];
    text += dimensions;
  }
  return text;
}

std::string dimensions_of(const Entry& type) {
  std::string text;
  for (const std::string& dimension : type.items) text += dimension;
  return text;
}

void unsupported_type(Occam2Context& c, std::string note) {
  Entry& result = c.result();
  result.shape = Shape::unsupported;
  result.note = std::move(note);
}

// The banner that stands for a declaration of an unsupported type.
std::string type_banner(Occam2Context& c, const Entry& type, int k) {
  if (type.note == kFloatingPoint) {
    report(c, k, "a floating-point type");
    return std::string(banners::text_of(banners::kFloatingPoint));
  }
  report(c, k, "the occam construct " + type.note);
  return occam_banner(type.note);
}

// A macro expr before main. A name defined again with another text is worth a warning: the
// Handel-C compiler will stop on the second definition.
void define_macro(Occam2Context& c, const std::string& name, const std::string& text, int k) {
  auto [existing, fresh] = c.state.macros.emplace(name, text);
  if (!fresh) {
    if (existing->second == text) return;
    c.state.diagnostics.warning(c.rhs(k).position, "'" + name + "' is defined again with another value; both macros are written");
  }
  c.state.define(text);
}

// Integer VAL constants bound replicated PARs.
void remember_constant(Occam2Context& c, const std::string& name, const std::string& value) {
  long long number = 0;
  const char* first = value.data();
  int base = 10;
  if (value.starts_with("0x")) {
    first += 2;
    base = 16;
  }
  auto [end, error] = std::from_chars(first, value.data() + value.size(), number, base);
  if (error == std::errc() && end == value.data() + value.size() && first != end) c.state.constants[name] = number;
}

void val_macro(Occam2Context& c, int name_symbol, int value_symbol) {
  const std::string& name = c.rhs(name_symbol).text;
  const std::string& value = c.rhs(value_symbol).text;
  std::string text = "macro expr " + name + " = (" + value + ");\n\n";
  prepend_lead(c, text);
  remember_constant(c, name, value);
  define_macro(c, name, text, name_symbol);
}

// A definition without Handel-C counterpart: its banner stands where the macros do.
void definition_banner(Occam2Context& c, std::string_view construct) {
  report(c, 1, "the occam construct " + std::string(construct));
  std::string text = occam_banner(construct);
  prepend_lead(c, text);
  c.state.define(text);
}

}  // namespace

// ---------------------------------------------------------------- types

void integer_type(Occam2Context& c) {
  c.result().text = "int ";
  c.result().shape = Shape::integer;
}
void sized_integer_type(Occam2Context& c) { unsupported_type(c, c.rhs(1).text); }
void floating_point_type(Occam2Context& c) { unsupported_type(c, std::string(kFloatingPoint)); }
void named_type(Occam2Context& c) { unsupported_type(c, "user-defined type " + c.rhs(1).text); }
void timer_type(Occam2Context& c) { unsupported_type(c, "TIMER"); }
void port_type(Occam2Context& c) { unsupported_type(c, "PORT"); }
void barrier_type(Occam2Context& c) { unsupported_type(c, "BARRIER"); }
void mobile_type(Occam2Context& c) { unsupported_type(c, "MOBILE"); }
void channel_end_protocol(Occam2Context& c) { unsupported_type(c, "CHAN TYPE end"); }
void channel_end_type(Occam2Context& c) { unsupported_type(c, "CHAN TYPE end"); }
void any_protocol(Occam2Context&) {}
void counted_protocol(Occam2Context& c) { unsupported_type(c, "counted array protocol"); }

// keyword_type: CHAN protocol | CHAN OF protocol — a channel carries one value of any type.
void channel_type(Occam2Context& c) {
  Entry& protocol = c.rhs(c.rhs(2).text == "OF" ? 3 : 2);
  if (protocol.shape == Shape::unsupported && protocol.note != kFloatingPoint) {
    c.result() = std::move(protocol);
    return;
  }
  c.result().text = "chan ";
  c.result().shape = Shape::channel;
}

// keyword_type: '[' expression ']' type — the dimensions, outermost first.
void array_type(Occam2Context& c) {
  std::string dimension = "[" + c.rhs(2).text + "]";
  c.result() = std::move(c.rhs(4));
  c.result().items.insert(c.result().items.begin(), std::move(dimension));
}
void open_array_type(Occam2Context& c) {
  c.result() = std::move(c.rhs(3));
  c.result().items.insert(c.result().items.begin(), "[]");
}

// formal_type: VAL type, RESULT type, SHARED type — only whether it is a channel matters.
void val_formal_type(Occam2Context& c) {
  c.result() = std::move(c.rhs(2));
  if (c.result().shape == Shape::channel) c.result().shape = Shape::integer;
}
void result_formal_type(Occam2Context& c) { val_formal_type(c); }
void shared_formal_type(Occam2Context& c) { c.result() = std::move(c.rhs(2)); }

// ---------------------------------------------------------------- declarations

// name_item: NAME | NAME direction; element: NAME
void name(Occam2Context& c) {
  c.result().text = std::move(c.rhs(1).text);
  c.result().position = c.rhs(1).position;
}

// declaration: type names ':' EOL — "int a, b;", "chan c;", "ram buf[4];"
void declaration(Occam2Context& c) {
  Entry& type = c.rhs(1);
  Entry& names = c.rhs(2);
  std::string text;
  if (type.note == "TIMER") {
    for (const std::string& timer : names.items) c.state.timers.insert(timer);
  }
  if (type.shape == Shape::unsupported) {
    text = type_banner(c, type, 1);
  } else if (type.shape == Shape::channel && !type.items.empty()) {
    report(c, 1, "an array of channels");
    text = std::string(banners::text_of(banners::kChannelArray));
  } else if (type.shape == Shape::integer && !type.items.empty()) {
    text = "ram " + names_text(names, dimensions_of(type)) + ";\n\n";
  } else {
    text = type.text + names_text(names, {}) + ";\n\n";
  }
  c.result().text = std::move(text);
}

void channel_end_declaration(Occam2Context& c) { banner(c, 1, "CHAN TYPE end"); }
void shared_channel_declaration(Occam2Context& c) { banner(c, 1, "SHARED"); }

// ---------------------------------------------------------------- abbreviations

// abbreviation: VAL type NAME IS expression ':' EOL
void val_abbreviation(Occam2Context& c) { val_macro(c, 3, 5); }
// abbreviation: VAL NAME IS expression ':' EOL
void untyped_val_abbreviation(Occam2Context& c) { val_macro(c, 2, 4); }
void abbreviation(Occam2Context& c) { banner(c, 1, "abbreviation"); }
void untyped_abbreviation(Occam2Context& c) { banner(c, 1, "abbreviation"); }
void initial_declaration(Occam2Context& c) { banner(c, 1, "INITIAL"); }
void retypes_banner(Occam2Context& c) { banner(c, 1, "RETYPES"); }
void place_banner(Occam2Context& c) { banner(c, 1, "PLACE"); }

// ---------------------------------------------------------------- definitions

// formals: formal; formals ',' formal — items: the names; bodies: which of them are channels. A
// bare name shares the specifier of the one before it.
void first_formal(Occam2Context& c) {
  Entry& formal = c.rhs(1);
  Entry& result = c.result();
  result.items.push_back(std::move(formal.text));
  result.bodies.push_back(formal.shape == Shape::channel ? std::string(kChannelFlag) : std::string());
}

void next_formal(Occam2Context& c) {
  Entry formal = std::move(c.rhs(3));
  Entry& result = c.result();
  result = std::move(c.rhs(1));
  std::string flag = formal.shape == Shape::plain ? result.bodies.back()
                     : formal.shape == Shape::channel ? std::string(kChannelFlag) : std::string();
  result.items.push_back(std::move(formal.text));
  result.bodies.push_back(std::move(flag));
}

// formal: NAME | NAME direction
void bare_formal(Occam2Context& c) {
  c.result().text = std::move(c.rhs(1).text);
  c.result().shape = Shape::plain;
}

// formal: formal_type NAME | formal_type NAME direction — a channel of a channel array is not one.
void formal(Occam2Context& c) {
  Entry& type = c.rhs(1);
  c.result().text = std::move(c.rhs(2).text);
  c.result().shape = type.shape == Shape::channel && type.items.empty() ? Shape::channel : Shape::integer;
}

// proc_head: proc_keyword NAME '(' formal_list ')' — text: the name; items, bodies: the formals.
void proc_head(Occam2Context& c) {
  Entry& formals = c.rhs(4);
  Entry& result = c.result();
  result.text = std::move(c.rhs(2).text);
  result.items = std::move(formals.items);
  result.bodies = std::move(formals.bodies);
}

// definition: proc_head body_of_definition ':' EOL
void proc_definition(Occam2Context& c) {
  Entry& head = c.rhs(1);
  std::string text = "macro proc " + head.text + " (";
  for (std::size_t i = 0; i < head.items.size(); ++i) {
    if (i > 0) text += ", ";
    text += head.items[i];
  }
  text += ")\n{\n";
  text += joined(c.rhs(2));
  text += "}  /* " + head.text + " */\n\n";
  prepend_lead(c, text);
  c.state.define(text);
  if (c.at_outermost_level()) {
    ProgramProc& program = c.state.program_proc;
    program.name = head.text;
    program.formals = head.items;
    program.channel_formal.clear();
    for (const std::string& flag : head.bodies) program.channel_formal.push_back(flag == kChannelFlag);
    program.position = head.position;
    program.defined = true;
  }
}

// function_head: result_types function_keyword NAME '(' formal_list ')' — note: set for several
// results, which a macro expr cannot give.
void function_head(Occam2Context& c) {
  Entry& results = c.rhs(1);
  Entry& formals = c.rhs(5);
  Entry& result = c.result();
  if (results.items.size() > 1) result.note = "FUNCTION with several results";
  result.text = std::move(c.rhs(3).text);
  result.items = std::move(formals.items);
}

// function_head: NAME function_keyword NAME '(' formal_list ')'
void named_function_head(Occam2Context& c) {
  Entry& formals = c.rhs(5);
  c.result().text = std::move(c.rhs(3).text);
  c.result().items = std::move(formals.items);
}

// definition: function_head IS expression_list ':' EOL — "macro expr f (x) = (x * 2);"
void function_is(Occam2Context& c) {
  Entry& head = c.rhs(1);
  Entry& values = c.rhs(3);
  if (!head.note.empty() || values.items.size() != 1) return definition_banner(c, "FUNCTION with several results");
  std::string text = "macro expr " + head.text + " (";
  for (std::size_t i = 0; i < head.items.size(); ++i) {
    if (i > 0) text += ", ";
    text += head.items[i];
  }
  text += ") = (" + values.items[0] + ");\n\n";
  prepend_lead(c, text);
  define_macro(c, head.text, text, 1);
}

void function_valof(Occam2Context& c) { definition_banner(c, "VALOF"); }
void proc_type_banner(Occam2Context& c) { definition_banner(c, "PROC TYPE"); }
void protocol_banner(Occam2Context& c) { definition_banner(c, "PROTOCOL"); }
void data_type_banner(Occam2Context& c) { definition_banner(c, "DATA TYPE"); }
void chan_type_banner(Occam2Context& c) { definition_banner(c, "CHAN TYPE"); }

}  // namespace vrk::occam2::actions
