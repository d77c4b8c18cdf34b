// The error wordings, the 119-character cut and what checked execution prints.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Capture.h"
#include "gnExceptions.h"

namespace {

// A checked execution whose body is given by the test.
class Body : public gnCheckedExec {
  public:
    explicit Body(void (*body)()) : body(body) {}
    void userExec(int, char**) override { body(); }

  private:
    void (*body)();
};

std::string runChecked(void (*body)()) {
    Body exec(body);
    Capture out;
    exec.checkedExec(0, nullptr);
    return out.finish();
}

std::string outputOf(const gnE& error) {
    Capture out;
    error.output();
    return out.finish();
}

}  // namespace

TEST(Errors, SafeCpyAlwaysTerminatesAndPads) {
    char buffer[8];
    memset(buffer, 'x', sizeof buffer);
    safeCpy(buffer, "abc", 8);
    EXPECT_STREQ(buffer, "abc");
    for (int i = 3; i < 8; ++i)
        EXPECT_EQ(buffer[i], '\0') << i;
    safeCpy(buffer, "abcdefghijk", 8);
    EXPECT_STREQ(buffer, "abcdefg");
}

TEST(Errors, DefaultErrorIsAnEmptyBug) {
    gnE error;
    EXPECT_EQ(error.kind, gnE::gnBug);
    EXPECT_STREQ(error.message, "");
    EXPECT_STREQ(error.typeText, "");
    EXPECT_EQ(outputOf(error), "Software bug: \n");
}

TEST(Errors, EachKindHasItsWording) {
    EXPECT_EQ(outputOf(gnE(gnE::gnGeneric, "MEMORY", "Out of memory!")),
              "Generic exception of type: MEMORY raised: Out of memory!\n");
    EXPECT_EQ(outputOf(gnE(gnE::gnBug, "", "Broken in X::y")), "Software bug: Broken in X::y\n");
    EXPECT_EQ(outputOf(gnE(gnE::gnNotImplemented, "", "Flying")),
              "Feature has not yet been implemented: Flying\n");
    gnE odd(gnE::gnBug, "", "whatever");
    odd.kind = static_cast<gnE::t>(7);
    EXPECT_EQ(outputOf(odd), "Software bug: Undefined exceptiontype in gnE::output!");
}

TEST(Errors, TextsAreCutAt119Characters) {
    const std::string exact(119, 'm');
    const std::string longer = std::string(119, 'a') + std::string(81, 'b');
    const gnE kept(gnE::gnGeneric, exact.c_str(), exact.c_str());
    EXPECT_EQ(std::string(kept.message), exact);
    EXPECT_EQ(std::string(kept.typeText), exact);
    const gnE cut(gnE::gnBug, "", longer.c_str());
    EXPECT_EQ(std::string(cut.message), std::string(119, 'a'));
    EXPECT_EQ(outputOf(cut), "Software bug: " + std::string(119, 'a') + "\n");
}

TEST(CheckedExec, GenericErrorPrintsTwoLines) {
    EXPECT_EQ(runChecked([] { gnE::gnRaiseGeneric("MEMORY", "Out of memory!"); }),
              "Caught exception\nGeneric exception of type: MEMORY raised: Out of memory!\n");
}

TEST(CheckedExec, EveryRaiseFunctionCarriesItsKindAndTexts) {
    EXPECT_EQ(runChecked([] { gnE::gnRaiseBug("Screenobject is not open in gnScreen::update"); }),
              "Caught exception\nSoftware bug: Screenobject is not open in gnScreen::update\n");
    EXPECT_EQ(runChecked([] { gnE::gnRaiseNotImplemented("Nested updating"); }),
              "Caught exception\nFeature has not yet been implemented: Nested updating\n");
    EXPECT_EQ(runChecked([] { gnE::gnRaise(gnE::gnGeneric, "INDEX", "Out of range"); }),
              "Caught exception\nGeneric exception of type: INDEX raised: Out of range\n");
}

TEST(CheckedExec, ReRaiseCarriesOnlyTheNewTexts) {
    EXPECT_EQ(runChecked([] {
                  gnE old(gnE::gnBug, "OLD", "old message");
                  gnE::reRaiseGeneric(old, "FileLoad", "new message");
              }),
              "Caught exception\nGeneric exception of type: FileLoad raised: new message\n");
    EXPECT_EQ(runChecked([] {
                  gnE old(gnE::gnGeneric, "OLD", "old message");
                  gnE::reRaiseBug(old, "new bug");
              }),
              "Caught exception\nSoftware bug: new bug\n");
    EXPECT_EQ(runChecked([] {
                  gnE old;
                  gnE::reRaiseNotImplemented(old, "later");
              }),
              "Caught exception\nFeature has not yet been implemented: later\n");
    EXPECT_EQ(runChecked([] {
                  gnE old;
                  gnE::reRaise(old, gnE::gnBug, "T", "plain");
              }),
              "Caught exception\nSoftware bug: plain\n");
}

TEST(CheckedExec, OtherTypesAreUnanticipated) {
    EXPECT_EQ(runChecked([] { throw 42; }),
              "Software bug: Unanticipated exception raised in gnCheckedExec!\n");
    EXPECT_EQ(runChecked([] { throw std::string("text"); }),
              "Software bug: Unanticipated exception raised in gnCheckedExec!\n");
}

TEST(CheckedExec, NormalReturnPrintsNothing) {
    EXPECT_EQ(runChecked([] {}), "");
}
