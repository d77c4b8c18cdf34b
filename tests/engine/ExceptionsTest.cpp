// The error wordings, the 119-character cut and what checked execution prints.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Capture.h"
#include "gnExceptions.h"

namespace {

// What checked execution prints for a body.
std::string runChecked(void (*body)()) {
    class Body : public gnCheckedExec {
      public:
        explicit Body(void (*body)()) : body(body) {}
        void userExec(int, char**) override { body(); }
        void (*body)();
    } exec(body);
    Capture out;
    exec.checkedExec(0, nullptr);
    return out.finish();
}

}  // namespace

TEST(Errors, SafeCpyTerminatesAndPadsAndTextsAreCutAt119) {
    char buffer[8];
    memset(buffer, 'x', sizeof buffer);
    safeCpy(buffer, "abc", 8);
    EXPECT_EQ(std::string(buffer, 8), std::string("abc\0\0\0\0\0", 8));
    safeCpy(buffer, "abcdefghijk", 8);
    EXPECT_STREQ(buffer, "abcdefg");
    const std::string exact(119, 'm');
    const gnE kept(gnE::gnGeneric, exact.c_str(), exact.c_str());
    EXPECT_EQ(std::string(kept.message), exact);
    EXPECT_EQ(std::string(kept.typeText), exact);
    const gnE cut(gnE::gnBug, "", (std::string(119, 'a') + std::string(81, 'b')).c_str());
    EXPECT_EQ(std::string(cut.message), std::string(119, 'a'));
}

// Every raise function, and what reaches standard output for each kind.
TEST(CheckedExec, EachRaiseCarriesItsKindAndTextsInItsWording) {
    const struct {
        void (*body)();
        const char* printed;
    } cases[] = {
        {[] { gnE::gnRaiseGeneric("MEMORY", "Out of memory!"); },
         "Caught exception\nGeneric exception of type: MEMORY raised: Out of memory!\n"},
        {[] { gnE::gnRaiseBug("Broken in X::y"); },
         "Caught exception\nSoftware bug: Broken in X::y\n"},
        {[] { gnE::gnRaiseNotImplemented("Flying"); },
         "Caught exception\nFeature has not yet been implemented: Flying\n"},
        {[] { gnE::gnRaise(gnE::gnGeneric, "INDEX", "Out of range"); },
         "Caught exception\nGeneric exception of type: INDEX raised: Out of range\n"},
        {[] {
             gnE old(gnE::gnBug, "OLD", "old message");  // a re-raise keeps none of the old
             gnE::reRaiseGeneric(old, "FileLoad", "new message");
         },
         "Caught exception\nGeneric exception of type: FileLoad raised: new message\n"},
        {[] {
             gnE old(gnE::gnGeneric, "OLD", "old message");
             gnE::reRaiseBug(old, "new bug");
         },
         "Caught exception\nSoftware bug: new bug\n"},
        {[] {
             gnE old;
             gnE::reRaiseNotImplemented(old, "later");
         },
         "Caught exception\nFeature has not yet been implemented: later\n"},
        {[] {
             gnE old;
             gnE::reRaise(old, gnE::gnBug, "T", "plain");
         },
         "Caught exception\nSoftware bug: plain\n"},
        {[] {
             gnE* odd = new gnE(gnE::gnBug, "", "whatever");
             odd->kind = static_cast<gnE::t>(7);
             throw odd;
         },
         "Caught exception\nSoftware bug: Undefined exceptiontype in gnE::output!"},
        {[] { throw new gnE(); }, "Caught exception\nSoftware bug: \n"},  // default: an empty bug
        {[] { throw 42; }, "Software bug: Unanticipated exception raised in gnCheckedExec!\n"},
        {[] { throw std::string("text"); },
         "Software bug: Unanticipated exception raised in gnCheckedExec!\n"},
        {[] {}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runChecked(c.body), c.printed);
}
