#include "gnExceptions.h"

#include <cstdio>
#include <cstring>

void safeCpy(char* dst, const char* src, int size) {
    strncpy(dst, src, static_cast<size_t>(size - 1));
    dst[size - 1] = '\0';
}

gnE::gnE() : kind(gnBug) {
    message[0] = '\0';
    typeText[0] = '\0';
}

gnE::gnE(t kind, const char* type, const char* message) : kind(kind) {
    safeCpy(typeText, type, kTextSize);
    safeCpy(this->message, message, kTextSize);
}

gnE::~gnE() = default;

void gnE::output() const {
    switch (kind) {
        case gnGeneric:
            printf("Generic exception of type: %s raised: %s\n", typeText, message);
            break;
        case gnBug:
            printf("Software bug: %s\n", message);
            break;
        case gnNotImplemented:
            printf("Feature has not yet been implemented: %s\n", message);
            break;
        default:
            printf("Software bug: Undefined exceptiontype in gnE::output!");
            break;
    }
}

void gnE::gnRaise(t kind, const char* type, const char* message) {
    throw new gnE(kind, type, message);
}

void gnE::gnRaiseBug(const char* message) {
    gnRaise(gnBug, "", message);
}

void gnE::gnRaiseGeneric(const char* type, const char* message) {
    gnRaise(gnGeneric, type, message);
}

void gnE::gnRaiseNotImplemented(const char* message) {
    gnRaise(gnNotImplemented, "", message);
}

void gnE::reRaise(gnE&, t kind, const char* type, const char* message) {
    gnRaise(kind, type, message);
}

void gnE::reRaiseBug(gnE&, const char* message) {
    gnRaiseBug(message);
}

void gnE::reRaiseGeneric(gnE&, const char* type, const char* message) {
    gnRaiseGeneric(type, message);
}

void gnE::reRaiseNotImplemented(gnE&, const char* message) {
    gnRaiseNotImplemented(message);
}

gnCheckedExec::~gnCheckedExec() = default;

void gnCheckedExec::checkedExec(int argc, char** argv) {
    try {
        userExec(argc, argv);
    } catch (gnE* error) {
        printf("Caught exception\n");
        error->output();
        delete error;
    } catch (...) {
        printf("Software bug: Unanticipated exception raised in gnCheckedExec!\n");
    }
}
