#pragma once
// What a call throws, as text: its message, or (printed) the unit and line
// that threw it too; "no error" when it returns.

#include <sstream>
#include <string>

#include "manager/exceptions.h"

namespace demo::test {

template <class Exception = ExceptionBase, class Call>
std::string errorOf(Call&& call) {
    try {
        call();
    } catch (const Exception& e) {
        return e.message();
    }
    return "no error";
}

// "<unit> L<line>: <message>", as the exception prints itself.
template <class Exception = ExceptionBase, class Call>
std::string printedErrorOf(Call&& call) {
    try {
        call();
    } catch (const Exception& e) {
        std::ostringstream out;
        e.print(out);
        return out.str();
    }
    return "no error";
}

}  // namespace demo::test
