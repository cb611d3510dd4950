#pragma once
// Fixture and helpers for the engine's tests: a clean engine state with the letters of
// function names, a recorder of the engine's messages, a statement run the way the
// calculation command runs it, and a printer of the expression tree.

#include "zorvo3.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes text the statement, prepares the scan and runs the calculation command's statement
    // loop on it, which parses it into TreeRoot.
    void parse(const std::string& text);
    // Parses "f(x) = " + body and evaluates it at x with EvalFormula (ErrEval and ErrRule
    // cleared first; a failed parse fails the test).
    long double evaluate(const std::string& body, long double x = 0);
    // Makes text the statement and places the scan on its first character.
    void startScan(const std::string& text);

    std::vector<std::string> messages; // what the engine showed, in cp1251
};

// The tree in prefix form: "(+ (neg (* 2 x)) 1)", functions by name, "_" for a missing child.
std::string printTree(const ExprNode* node);
