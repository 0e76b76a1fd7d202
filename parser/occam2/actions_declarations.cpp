// Declarations, abbreviations and definitions. PROCs, FUNCTIONs defined by an expression and VAL
// abbreviations become macros placed before main, in source order (a nested one before the one
// that contains it); declarations stay where they stand, in the default mode's form.
#include <algorithm>

#include "output/banners.h"
#include "parser/occam2/actions.h"

namespace vrk::occam2::actions {

namespace {


// The names of a declaration, each followed by the dimensions of its type.
Text names_text(Occam2Context& c, const List& names, const std::string& dimensions) {
  Text text;
  bool first = true;
  c.state.each(names, [&](Cell& name) {
    if (!first) text = c.join(text, ", ");
    text = c.join(text, name.item);
    if (!dimensions.empty()) text = c.join(text, c.copy(dimensions));
    first = false;
  });
  return text;
}

std::string dimensions_of(Occam2Context& c, const Entry& type) {
  std::string text;
  c.state.each(type.list, [&](Cell& dimension) { text += c.str(dimension.item); });
  return text;
}

void unsupported_type(Occam2Context& c, Note note) {
  Entry& result = c.result();
  result.shape = Shape::unsupported;
  result.note = note;
}

// The banner that stands for a declaration of an unsupported type.
Text type_banner(Occam2Context& c, const Entry& type, int k) {
  if (type.note == Note::floating_point) {
    report(c, k, "a floating-point type");
    return c.lit(banners::text_of(banners::kFloatingPoint));
  }
  report(c, k, "the occam construct " + std::string(note_name(type.note)));
  return c.copy(occam_banner(note_name(type.note)));
}

// A macro expr before main. A name defined again with another text is worth a warning: the
// Handel-C compiler will stop on the second definition.
void define_macro(Occam2Context& c, const std::string& name, Text text, int k) {
  std::vector<std::string>& written = c.state.macros[name];
  std::string bytes = c.str(text);
  if (std::find(written.begin(), written.end(), bytes) != written.end()) return;
  if (!written.empty()) {
    c.state.diagnostics.warning(c.rhs(k).position, "'" + name + "' is defined again with another value; both macros are written");
  }
  written.push_back(std::move(bytes));
  c.state.define(text);
}

// Integer VAL constants bound replicated PARs.
void remember_constant(Occam2Context& c, const std::string& name, const std::string& value) {
  long long number = 0;
  if (integer_value(value, number)) c.state.constants[name] = number;
}

void val_macro(Occam2Context& c, int name_symbol, int value_symbol) {
  std::string name = c.str(c.rhs(name_symbol).text);
  std::string value = c.str(c.rhs(value_symbol).text);
  Text text = c.copy("macro expr " + name + " = (" + value + ");\n\n");
  prepend_lead(c, text);
  remember_constant(c, name, value);
  define_macro(c, name, text, name_symbol);
}

// A definition without Handel-C counterpart: its banner stands where the macros do.
void definition_banner(Occam2Context& c, std::string_view construct) {
  report(c, 1, "the occam construct " + std::string(construct));
  Text text = c.copy(occam_banner(construct));
  prepend_lead(c, text);
  c.state.define(text);
}

}  // namespace

// ---------------------------------------------------------------- types

void integer_type(Occam2Context& c) {
  c.result().text = c.lit("int ");
  c.result().shape = Shape::integer;
}
// primitive_type: INT16 | INT32 | INT64
void sized_integer_type(Occam2Context& c) {
  std::string word = c.str(c.rhs(1).text);
  unsupported_type(c, word == "INT16" ? Note::int16 : word == "INT32" ? Note::int32 : Note::int64);
}
void floating_point_type(Occam2Context& c) { unsupported_type(c, Note::floating_point); }
void named_type(Occam2Context& c) { unsupported_type(c, Note::user_type); }
void timer_type(Occam2Context& c) { unsupported_type(c, Note::timer); }
void port_type(Occam2Context& c) { unsupported_type(c, Note::port); }
void barrier_type(Occam2Context& c) { unsupported_type(c, Note::barrier); }
void mobile_type(Occam2Context& c) { unsupported_type(c, Note::mobile); }
void channel_end_protocol(Occam2Context& c) { unsupported_type(c, Note::channel_end); }
void channel_end_type(Occam2Context& c) { unsupported_type(c, Note::channel_end); }
void counted_protocol(Occam2Context& c) { unsupported_type(c, Note::counted_protocol); }

// keyword_type: CHAN protocol | CHAN OF protocol — a channel carries one value of any type.
void channel_type(Occam2Context& c) {
  Entry& protocol = c.rhs(c.view.rhs_length() == 3 ? 3 : 2);
  if (protocol.shape == Shape::unsupported && protocol.note != Note::floating_point) {
    c.result() = protocol;
    return;
  }
  c.result().text = c.lit("chan ");
  c.result().shape = Shape::channel;
}

// keyword_type: '[' expression ']' nested_type — the dimensions, outermost first.
void array_type(Occam2Context& c) {
  Text dimension = c.join("[", c.rhs(2).text, "]");
  Entry element = c.rhs(4);
  c.result() = element;
  List dimensions;
  c.state.push(dimensions, dimension);
  c.result().list = c.state.concat(dimensions, element.list);
}
void open_array_type(Occam2Context& c) {
  Entry element = c.rhs(3);
  c.result() = element;
  List dimensions;
  c.state.push(dimensions, c.lit("[]"));
  c.result().list = c.state.concat(dimensions, element.list);
}

// formal_type: VAL type, RESULT type, SHARED type — only whether it is a channel matters.
void val_formal_type(Occam2Context& c) {
  c.result() = c.rhs(2);
  if (c.result().shape == Shape::channel) c.result().shape = Shape::integer;
}
void shared_formal_type(Occam2Context& c) { c.result() = c.rhs(2); }

// ---------------------------------------------------------------- declarations

// name_item: NAME | NAME direction; element: NAME
void name(Occam2Context& c) { c.result().text = c.rhs(1).text; }

// declaration: type names ':' EOL — "int a, b;", "chan c;", "ram buf[4];"
void declaration(Occam2Context& c) {
  Entry& type = c.rhs(1);
  Entry& names = c.rhs(2);
  if (type.note == Note::timer) {
    c.state.each(names.list, [&](Cell& timer) { c.state.timers.insert(c.str(timer.item)); });
  }
  Text text;
  if (type.shape == Shape::unsupported) {
    text = type_banner(c, type, 1);
  } else if (type.shape == Shape::channel && !type.list.empty()) {
    report(c, 1, "an array of channels");
    text = c.lit(banners::text_of(banners::kChannelArray));
  } else if (type.shape == Shape::integer && !type.list.empty()) {
    text = c.join("ram ", names_text(c, names.list, dimensions_of(c, type)), ";\n\n");
  } else {
    text = c.join(type.text, names_text(c, names.list, {}), ";\n\n");
  }
  c.result().text = text;
}

void channel_end_declaration(Occam2Context& c) { banner(c, 1, note_name(Note::channel_end)); }
void shared_channel_declaration(Occam2Context& c) { banner(c, 1, "SHARED"); }

// ---------------------------------------------------------------- abbreviations

// abbreviation: VAL type NAME IS expression ':' EOL
void val_abbreviation(Occam2Context& c) { val_macro(c, 3, 5); }
// abbreviation: VAL NAME IS expression ':' EOL
void untyped_val_abbreviation(Occam2Context& c) { val_macro(c, 2, 4); }
void abbreviation(Occam2Context& c) { banner(c, 1, "abbreviation"); }
void initial_declaration(Occam2Context& c) { banner(c, 1, "INITIAL"); }
void retypes_banner(Occam2Context& c) { banner(c, 1, "RETYPES"); }
void place_banner(Occam2Context& c) { banner(c, 1, "PLACE"); }

// ---------------------------------------------------------------- definitions

// formals: formal; formals ',' formal — each cell: the name, and its shape (channel or not). A
// bare name shares the specifier of the one before it.
void first_formal(Occam2Context& c) {
  Entry& formal = c.rhs(1);
  c.state.push(c.result().list, formal.text, {}, formal.shape == Shape::channel ? Shape::channel : Shape::plain);
}

void next_formal(Occam2Context& c) {
  Entry formal = c.rhs(3);
  Entry& result = c.result();
  result = c.rhs(1);
  Shape shape = formal.shape == Shape::integer ? Shape::plain : formal.shape;
  if (formal.shape == Shape::plain) shape = c.state.cell(result.list.tail).shape;
  c.state.push(result.list, formal.text, {}, shape);
}

// formal: NAME | NAME direction
void bare_formal(Occam2Context& c) {
  c.result().text = c.rhs(1).text;
  c.result().shape = Shape::plain;
}

// formal: formal_type NAME | formal_type NAME direction — a channel of a channel array is not one.
void formal(Occam2Context& c) {
  Entry& type = c.rhs(1);
  c.result().text = c.rhs(2).text;
  c.result().shape = type.shape == Shape::channel && type.list.empty() ? Shape::channel : Shape::integer;
}

// proc_head: proc_keyword NAME '(' formal_list ')' — text: the name; list: the formals.
void proc_head(Occam2Context& c) {
  Entry& result = c.result();
  result.text = c.rhs(2).text;
  result.list = c.rhs(4).list;
}

// definition: proc_head body_of_definition ':' EOL
void proc_definition(Occam2Context& c) {
  Entry& head = c.rhs(1);
  std::string name = c.str(head.text);
  std::vector<std::string> formals;
  std::vector<bool> channels;
  c.state.each(head.list, [&](Cell& formal) {
    formals.push_back(c.str(formal.item));
    channels.push_back(formal.shape == Shape::channel);
  });
  std::string opening = "macro proc " + name + " (" + comma_separated(formals) + ")\n{\n";
  Text text = c.join(c.copy(opening), c.rhs(2).text, c.copy("}  /* " + name + " */\n\n"));
  prepend_lead(c, text);
  c.state.define(text);
  if (c.at_outermost_level()) {
    c.state.program_proc = {name, std::move(formals), std::move(channels), head.position, true};
  }
}

// function_head: result_types function_keyword NAME '(' formal_list ')' — noted when it has
// several results, which a macro expr cannot give.
void function_head(Occam2Context& c) {
  Entry& results = c.rhs(1);
  Entry& result = c.result();
  if (results.list.count > 1) result.note = Note::several_results;
  result.text = c.rhs(3).text;
  result.list = c.rhs(5).list;
}

// function_head: NAME function_keyword NAME '(' formal_list ')'
void named_function_head(Occam2Context& c) {
  c.result().text = c.rhs(3).text;
  c.result().list = c.rhs(5).list;
}

// definition: function_head IS expression_list ':' EOL — "macro expr f (x) = (x * 2);"
void function_is(Occam2Context& c) {
  Entry& head = c.rhs(1);
  Entry& values = c.rhs(3);
  if (head.note != Note::none || values.list.count != 1) return definition_banner(c, "FUNCTION with several results");
  std::string name = c.str(head.text);
  Text text = c.join(c.copy("macro expr " + name + " ("), comma_separated(c, head.list), ") = (");
  text = c.join(text, joined(c, values.list), ");\n\n");
  prepend_lead(c, text);
  define_macro(c, name, text, 1);
}

void function_valof(Occam2Context& c) { definition_banner(c, "VALOF"); }
void proc_type_banner(Occam2Context& c) { definition_banner(c, "PROC TYPE"); }
void protocol_banner(Occam2Context& c) { definition_banner(c, "PROTOCOL"); }
void data_type_banner(Occam2Context& c) { definition_banner(c, "DATA TYPE"); }
void chan_type_banner(Occam2Context& c) { definition_banner(c, "CHAN TYPE"); }

}  // namespace vrk::occam2::actions
