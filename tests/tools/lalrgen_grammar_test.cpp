// Correctness figures of the tables generated from parser/grammar.y.
//
// The core grammar (extension actions removed) must give the automaton the
// translator is designed around: 311 states, no shift-reduce conflicts, the
// three known reduce-reduce conflicts resolved for the lower rule, ten
// exception blocks of 34 pairs in all that make the lookahead decisions
// listed below, and the documented read-ahead behaviour of every rule with
// an action. Extension actions, should the translator add any, must not disturb any of that.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/tools/lalrgen_test_support.h"

namespace vrk::lalrgen {
namespace {

using testing::state_with_kernel;
using testing::states_with_items;
using testing::token_code;

Generation generate_from_file(bool core) {
    return generate(read_grammar_file(VRK_GRAMMAR_PATH, ReadOptions{core}));
}

const Generation& core_grammar() {
    static const Generation gen = generate_from_file(true);
    return gen;
}

const Generation& extended_grammar() {
    static const Generation gen = generate_from_file(false);
    return gen;
}

// Read-ahead of the reducing states for every rule that has an action.
const std::map<int, std::string>& documented_read_ahead() {
    static const std::map<int, std::string> table = {
        {2, "yes"}, {4, "yes"}, {5, "yes"}, {7, "no"}, {8, "yes"}, {10, "no"}, {12, "yes"}, {20, "yes"},
        {21, "no"}, {23, "no"}, {24, "no"}, {25, "yes"}, {26, "no"}, {27, "no"}, {29, "no"}, {32, "yes"},
        {33, "no"}, {34, "no"}, {37, "no"}, {38, "yes"}, {39, "no"}, {40, "no"}, {41, "no"}, {42, "no"},
        {43, "no"}, {47, "yes"}, {48, "no"}, {56, "no"}, {57, "no"}, {58, "yes"}, {59, "no"}, {61, "yes"},
        {62, "no"}, {64, "no"}, {65, "no"}, {67, "no"}, {68, "no"}, {69, "no"}, {70, "no"}, {78, "yes"},
        {79, "no"}, {80, "no"}, {81, "yes"}, {82, "no"}, {83, "no"}, {84, "yes"}, {85, "no"}, {86, "no"},
        {87, "yes"}, {90, "yes"}, {91, "yes"}, {92, "no"}, {96, "no"}, {97, "no"}, {99, "no"}, {100, "no"},
        {101, "no"}, {102, "no"}, {103, "no"}, {104, "no"}, {105, "no"}, {106, "no"}, {107, "no"}, {111, "no"},
        {113, "yes"}, {115, "yes"}, {116, "no"}, {117, "yes"}, {119, "yes"}, {120, "no"}, {121, "no"},
        {123, "no"}, {124, "no"}, {126, "no"}, {127, "no"}, {129, "no"}, {130, "no"}, {132, "no"},
        {138, "yes"}, {146, "yes"}, {147, "yes"}, {149, "yes"}, {150, "yes"}, {151, "no"}, {152, "no"},
        {157, "no"}, {158, "no"}, {175, "no"}, {176, "no"}, {177, "no"}, {178, "no"}, {179, "no"},
        {180, "no"}, {181, "no"}, {182, "no"}, {185, "no"}, {186, "no"}, {187, "no"}, {188, "no"},
        {189, "no"}, {190, "no"}, {191, "no"}, {192, "no"}, {193, "no"}, {194, "no"}, {195, "no / yes"},
        {202, "no"}, {203, "no"},
    };
    return table;
}

// Outcome of the engine's default step for the token spelled `word`.
int decision(const Generation& gen, int state, const std::string& word) {
    int code = token_code(gen.grammar, word);
    EXPECT_EQ(decode_shift(gen.tables, state, code), -1) << "state " << state << " shifts " << word;
    return decode_default(gen.tables, state, code);
}

int unique_state(const Generation& gen, const std::vector<std::string>& items) {
    std::vector<int> found = states_with_items(gen, items);
    EXPECT_EQ(found.size(), 1U) << "items: " << items.front();
    return found.empty() ? -1 : found.front();
}

struct DecisionStates {
    int accept, process_start, type_name_list, type_name, after_query, after_bang, input_item, guard_start,
        plain_element, guard_and;
};

DecisionStates find_decision_states(const Generation& gen) {
    DecisionStates d{};
    d.accept = decode_goto(gen.tables, 0, 1);
    d.process_start = unique_state(gen, {"process : NAME . '(' {7} actual_list ')' eols", "variable : NAME ."});
    d.type_name_list = unique_state(gen, {"declaration : type name_list . {87} ':'"});
    d.type_name = unique_state(gen, {"name_list : NAME .", "element : NAME ."});
    d.after_query = unique_state(gen, {"input : element '?' . {113} input_list"});
    d.after_bang = unique_state(gen, {"output : element '!' . {117} output_list"});
    d.input_item = state_with_kernel(gen, {"variable : NAME .", "variable : NAME . {147} subscript"});
    d.guard_start = unique_state(gen, {"name_operand : NAME .", "element : NAME ."});
    d.plain_element = state_with_kernel(gen, {"element : NAME .", "element : NAME . {150} '[' {151} expression ']'"});
    d.guard_and = unique_state(gen, {"guard : expression '&' . {78} input"});
    return d;
}

TEST(GrammarFile, CoreAutomatonHasTheDesignedShape) {
    const Generation& gen = core_grammar();
    EXPECT_EQ(gen.tables.nstates, 311);
    EXPECT_EQ(gen.actions.shift_reduce_count(), 0);
    EXPECT_EQ(gen.tables.nrules, 206);
    EXPECT_EQ(gen.tables.exception_blocks, 10);
    EXPECT_EQ(gen.tables.yyexca.size(), 68U);  // 34 pairs
    EXPECT_EQ(gen.tables.yychk[0], YYFLAG);
    // Gap rules are never reduced and carry no shape.
    for (int gap : {134, 135, 136, 140, 145, 153, 156, 159, 169}) {
        EXPECT_EQ(gen.tables.yyr1[gap], 0) << gap;
        EXPECT_EQ(gen.tables.yyr2[gap], 0) << gap;
    }
    EXPECT_EQ(gen.tables.yyr2[8], 6);   // NAME '(' {7} actual_list ')' eols
    EXPECT_EQ(gen.tables.yyr2[19], 5);  // SEQ eols INDENT process_list OUTDENT
    EXPECT_EQ(gen.tables.yyr2[44], 0);  // empty case body
    EXPECT_EQ(gen.tables.yyr2[2], 0);   // embedded action
}

TEST(GrammarFile, ReduceReduceConflictsGoToTheLowerRule) {
    const Generation& gen = core_grammar();
    DecisionStates d = find_decision_states(gen);
    const Grammar& g = gen.grammar;
    std::set<std::tuple<int, std::set<int>, std::vector<int>, int>> found;
    for (const Conflict& c : gen.actions.conflicts) {
        ASSERT_EQ(c.kind, Conflict::Kind::reduce_reduce);
        found.insert({c.state, std::set<int>(c.tokens.begin(), c.tokens.end()), c.rules, c.chosen_rule});
    }
    int open_bracket = token_code(g, "["), colon = token_code(g, ":"), comma = token_code(g, ",");
    std::set<std::tuple<int, std::set<int>, std::vector<int>, int>> expected = {
        {d.process_start, {open_bracket}, {147, 150}, 147},
        {d.type_name, {colon, comma}, {90, 149}, 90},
        {d.guard_start, {open_bracket}, {150, 195}, 150},
    };
    EXPECT_EQ(found, expected);
}

void expect_lookahead_decisions(const Generation& gen) {
    DecisionStates d = find_decision_states(gen);
    ASSERT_NE(d.input_item, -1);
    ASSERT_NE(d.plain_element, -1);

    EXPECT_EQ(decision(gen, d.accept, "$end"), kAccept);
    EXPECT_EQ(decision(gen, d.accept, "EOL"), 0);
    EXPECT_EQ(decision(gen, d.accept, "NAME"), 0);

    EXPECT_EQ(decision(gen, d.process_start, "EOL"), 5);
    EXPECT_EQ(decision(gen, d.process_start, ":"), 146);
    EXPECT_EQ(decision(gen, d.process_start, "["), 147);
    EXPECT_EQ(decision(gen, d.process_start, "?"), 149);
    EXPECT_EQ(decision(gen, d.process_start, "!"), 149);
    EXPECT_EQ(decision(gen, d.process_start, "SKIP"), 149);

    EXPECT_EQ(decision(gen, d.type_name_list, ","), 91);
    EXPECT_EQ(decision(gen, d.type_name_list, ":"), 87);
    EXPECT_EQ(decision(gen, d.type_name_list, "EOL"), 87);

    EXPECT_EQ(decision(gen, d.type_name, "["), 150);
    EXPECT_EQ(decision(gen, d.type_name, ":"), 90);
    EXPECT_EQ(decision(gen, d.type_name, ","), 90);
    EXPECT_EQ(decision(gen, d.type_name, "EOL"), 90);

    EXPECT_EQ(decision(gen, d.after_query, "NAME"), 113);
    EXPECT_EQ(decision(gen, d.after_query, "ANY"), 115);
    EXPECT_EQ(decision(gen, d.after_query, "NUMBER"), 115);

    EXPECT_EQ(decision(gen, d.after_bang, "ANY"), 119);
    EXPECT_EQ(decision(gen, d.after_bang, "NAME"), 117);
    EXPECT_EQ(decision(gen, d.after_bang, "NUMBER"), 117);
    EXPECT_EQ(decision(gen, d.after_bang, "EOL"), 117);

    EXPECT_EQ(decision(gen, d.input_item, "["), 147);
    EXPECT_EQ(decision(gen, d.input_item, ";"), 146);
    EXPECT_EQ(decision(gen, d.input_item, "EOL"), 146);

    EXPECT_EQ(decision(gen, d.guard_start, "["), 150);
    EXPECT_EQ(decision(gen, d.guard_start, "?"), 149);
    EXPECT_EQ(decision(gen, d.guard_start, "&"), 195);
    EXPECT_EQ(decision(gen, d.guard_start, "+"), 195);
    EXPECT_EQ(decision(gen, d.guard_start, "EOL"), 195);

    EXPECT_EQ(decision(gen, d.plain_element, "["), 150);
    EXPECT_EQ(decision(gen, d.plain_element, "?"), 149);
    EXPECT_EQ(decision(gen, d.plain_element, ":"), 149);

    EXPECT_EQ(decision(gen, d.guard_and, "NAME"), 78);
    EXPECT_EQ(decision(gen, d.guard_and, "SKIP"), 84);
    EXPECT_EQ(decision(gen, d.guard_and, "WAIT"), 81);
    EXPECT_EQ(decision(gen, d.guard_and, "EOL"), 81);

    // These are exactly the states with exception blocks.
    std::set<int> with_blocks;
    for (int s = 0; s < gen.tables.nstates; ++s)
        if (gen.tables.yydef[s] == -2) with_blocks.insert(s);
    EXPECT_EQ(with_blocks, (std::set<int>{d.accept, d.process_start, d.type_name_list, d.type_name, d.after_query,
                                          d.after_bang, d.input_item, d.guard_start, d.plain_element, d.guard_and}));
}

TEST(GrammarFile, ExceptionBlocksMakeTheLookaheadDecisions) { expect_lookahead_decisions(core_grammar()); }

TEST(GrammarFile, PlainElementStateServesBothGuardsAndElementLists) {
    const Generation& gen = core_grammar();
    int plain_element = find_decision_states(gen).plain_element;
    int name = gen.grammar.terminal_index(token_code(gen.grammar, "NAME"));
    int after_and = unique_state(gen, {"guard : expression '&' {78} . input"});
    int after_comma = unique_state(gen, {"element_list : element_list {138} ',' . element"});
    EXPECT_EQ(gen.automaton.states[after_and].transitions.at(name), plain_element);
    EXPECT_EQ(gen.automaton.states[after_comma].transitions.at(name), plain_element);
}

TEST(GrammarFile, ReducingStatesReadAheadAsDocumented) {
    const Generation& gen = core_grammar();
    for (const auto& [rule, expected] : documented_read_ahead())
        EXPECT_EQ(read_ahead_of_rule(gen, rule).label(), expected) << "rule " << rule;
}

// The grammar the build uses (with any translator extension actions) must keep the core's
// conflicts, lookahead decisions and read-ahead behaviour.
TEST(GrammarFile, ProductionGrammarKeepsConflictsDecisionsAndReadAhead) {
    const Generation& core = core_grammar();
    const Generation& ext = extended_grammar();
    EXPECT_EQ(ext.actions.shift_reduce_count(), 0);
    EXPECT_EQ(ext.tables.exception_blocks, 10);
    EXPECT_EQ(ext.tables.yyexca.size(), 68U);
    auto conflict_shapes = [](const Generation& gen) {
        std::set<std::pair<std::vector<int>, std::vector<int>>> shapes;
        for (const Conflict& c : gen.actions.conflicts) shapes.insert({c.tokens, c.rules});
        return shapes;
    };
    EXPECT_EQ(conflict_shapes(ext), conflict_shapes(core));
    EXPECT_EQ(ext.actions.reduce_reduce_count(), 3);
    expect_lookahead_decisions(ext);
    for (const auto& [rule, expected] : documented_read_ahead())
        EXPECT_EQ(read_ahead_of_rule(ext, rule).label(), expected) << "rule " << rule;
}

}  // namespace
}  // namespace vrk::lalrgen
