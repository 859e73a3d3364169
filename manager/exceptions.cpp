#include "manager/exceptions.h"

#include <utility>

namespace demo {

ExceptionBase::ExceptionBase(std::string message, std::string sourceFile, int sourceLine)
    : message_(std::move(message)), sourceFile_(std::move(sourceFile)), sourceLine_(sourceLine) {}

void ExceptionBase::print(std::ostream& out) const {
    out << sourceFile_ << " L" << sourceLine_ << ": " << message_;
}

ParseError::ParseError(std::string text, std::string scriptName, int scriptLine,
                       std::string sourceFile, int sourceLine)
    : ExceptionBase("Parse error (" + scriptName + " " + std::to_string(scriptLine) + " ): " + text,
                    std::move(sourceFile), sourceLine),
      text_(std::move(text)),
      scriptName_(std::move(scriptName)),
      scriptLine_(scriptLine) {}

ResourceMissing::ResourceMissing(std::string name, std::string sourceFile, int sourceLine)
    : ExceptionBase("Cannot obtain '" + name + "'.", std::move(sourceFile), sourceLine),
      name_(std::move(name)) {}

}  // namespace demo
