// Actions for declarations: type words, channels, arrays and element lists.
//
// An occam array type puts its dimension before the type word, Handel-C after every name: the
// dimension's number is captured instead of emitted and written after each declared name, and
// the first name turns the type word already written, "int ", into "ram ".
#include "parser/actions.h"

namespace vrk::actions {

namespace {
constexpr string::rep kIntWord = VRK_STATIC_TEXT("int ");
constexpr string::rep kRamWord = VRK_STATIC_TEXT("ram ");
constexpr string::rep kChanWord = VRK_STATIC_TEXT("chan ");
constexpr string::rep kSeparator = VRK_STATIC_TEXT(", ");
constexpr string::rep kOpenBracket = VRK_STATIC_TEXT("[");
constexpr string::rep kCloseBracket = VRK_STATIC_TEXT("]");
constexpr string::rep kFloatingPointBanner =
    VRK_STATIC_TEXT("\n\n#### Error: floating point numbers are not allowed in Handel-C ####\n\n");
constexpr string::rep kChannelArrayBanner =
    VRK_STATIC_TEXT("\n\n##### Error: Arrays of channels are not allowed in Handel-C language ! #####\n\n");

// Walks back from the cursor to this declaration's "int " and makes it "ram ". The walk never
// goes back past the fragment that was last when the array type began; a declaration without
// an "int " of its own (an array of channels or of a floating-point type) is left as it is.
void rewrite_type_word_as_ram(Translation& t) {
  FragmentList& fragments = t.fragments;
  const FragmentList::node* boundary = t.declarations.array_type_start;
  for (FragmentList::node* n = fragments.cursor(); n != nullptr && n != boundary; n = FragmentList::previous(n)) {
    if (FragmentList::equals(n, string(kIntWord).view())) {
      fragments.replace(n, string(kRamWord));
      fragments.set_cursor(n);
      return;
    }
  }
}
}  // namespace

// {87}: declaration: type name_list {87} ':'
void end_name_list(ActionContext& c) { c.translation.capture.name_switch = false; }

// name_list: NAME; name_list: name_list {91} list_separator NAME
void declared_name(ActionContext& c) {
  Translation& t = c.translation;
  append(c, current_token_text(c));
  if (!t.capture.name_switch) return;
  append(c, kOpenBracket);
  t.fragments.append(t.capture.captured_name);
  append(c, kCloseBracket);
  if (!t.declarations.ram_rewrite) return;
  t.declarations.ram_rewrite = false;
  rewrite_type_word_as_ram(t);
}

// {91}: name_list: name_list {91} list_separator NAME; {138}: element_list: element_list {138} ',' element
void separate_names(ActionContext& c) { append(c, kSeparator); }

// {96}: primitive_type: CHAN OF {96} type
void open_channel_type(ActionContext& c) {
  append(c, kChanWord);
  c.translation.declarations.channel_declaration = true;
}

// primitive_type: CHAN OF {96} type
void close_channel_type(ActionContext& c) { c.translation.declarations.channel_declaration = false; }

// primitive_type: BOOL | BYTE | INT (and the type tokens the scanner never produces)
void integer_type_word(ActionContext& c) {
  if (!c.translation.declarations.channel_declaration) append(c, kIntWord);
}

// primitive_type: REAL32 | REAL64
void floating_point_type(ActionContext& c) {
  report_unsupported(c, 1, "a floating-point type");
  append(c, kFloatingPointBanner);
}

// {107}: array_type: '[' {107} expression ']' type
void open_array_type(ActionContext& c) {
  Translation& t = c.translation;
  t.capture.name_switch = true;
  t.declarations.ram_rewrite = true;
  t.declarations.array_type_start = t.fragments.last();
}

// element: NAME; {150}: element: NAME {150} '[' {151} expression ']'
void element_name(ActionContext& c) { append(c, current_token_text(c)); }

// {151}
void open_element_subscript(ActionContext& c) { append(c, kOpenBracket); }

// element: NAME {150} '[' {151} expression ']' — an array of channels, which Handel-C lacks.
void close_element_subscript(ActionContext& c) {
  append(c, kCloseBracket);
  report_unsupported(c, 1, "an array of channels (a subscripted name here)");
  append(c, kChannelArrayBanner);
}

}  // namespace vrk::actions
