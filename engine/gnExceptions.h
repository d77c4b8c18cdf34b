// The engine's one error model. Every failure is raised as a heap-allocated gnE thrown by
// pointer; the only catch point is gnCheckedExec::checkedExec, which prints it and returns.
#pragma once

// Copies at most size - 1 characters and always terminates dst (strncpy with size - 1).
void safeCpy(char* dst, const char* src, int size);

class gnE {
  public:
    enum t : int {
        gnGeneric = 0,         // run-time failure: a type word and a message
        gnBug = 1,             // an object used against its contract
        gnNotImplemented = 2,  // a feature not built
    };
    static constexpr int kTextSize = 120;  // both texts hold at most 119 characters

    t kind;
    char message[kTextSize];
    char typeText[kTextSize];  // empty unless kind is gnGeneric

    gnE();
    gnE(t kind, const char* type, const char* message);
    virtual ~gnE();

    // Prints the error on standard output in the wording of its kind.
    void output() const;

    [[noreturn]] static void gnRaise(t kind, const char* type, const char* message);
    [[noreturn]] static void gnRaiseBug(const char* message);
    [[noreturn]] static void gnRaiseGeneric(const char* type, const char* message);
    [[noreturn]] static void gnRaiseNotImplemented(const char* message);
    // The error passed in is ignored: the new one carries only the new texts.
    [[noreturn]] static void reRaise(gnE& old, t kind, const char* type, const char* message);
    [[noreturn]] static void reRaiseBug(gnE& old, const char* message);
    [[noreturn]] static void reRaiseGeneric(gnE& old, const char* type, const char* message);
    [[noreturn]] static void reRaiseNotImplemented(gnE& old, const char* message);
};

// Base of the application object: runs its body and catches everything that escapes it.
class gnCheckedExec {
  public:
    virtual ~gnCheckedExec();
    virtual void userExec(int argc, char** argv) = 0;

    // Runs userExec; prints a caught gnE (and deletes it) or the unanticipated-exception line.
    void checkedExec(int argc, char** argv);
};
