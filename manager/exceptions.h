#pragma once
// The system's exceptions. Every failure that is not handled on the spot
// travels as an ExceptionBase carrying its message and the source unit and
// line that threw it. Units and lines are the tabulated ones (see
// source_location.h), not __FILE__/__LINE__, so messages stay stable when
// code moves.

#include <ostream>
#include <string>

namespace demo {

class ExceptionBase {
public:
    ExceptionBase(std::string message, std::string sourceFile, int sourceLine);
    virtual ~ExceptionBase() = default;

    // Writes "<source file> L<line>: <message>" with no line end.
    virtual void print(std::ostream& out) const;

    const std::string& message() const { return message_; }
    const std::string& sourceFile() const { return sourceFile_; }
    int sourceLine() const { return sourceLine_; }

private:
    std::string message_;
    std::string sourceFile_;
    int sourceLine_;
};

// A script error: "Parse error (<script> <line> ): <text>".
class ParseError : public ExceptionBase {
public:
    ParseError(std::string text, std::string scriptName, int scriptLine, std::string sourceFile,
               int sourceLine);

    const std::string& text() const { return text_; }
    const std::string& scriptName() const { return scriptName_; }
    int scriptLine() const { return scriptLine_; }

private:
    std::string text_;
    std::string scriptName_;
    int scriptLine_;
};

// A file or object that no source can supply: "Cannot obtain '<name>'.".
class ResourceMissing : public ExceptionBase {
public:
    ResourceMissing(std::string name, std::string sourceFile, int sourceLine);

    const std::string& name() const { return name_; }

private:
    std::string name_;
};

class BinaryReaderException : public ExceptionBase {
public:
    using ExceptionBase::ExceptionBase;
};

class TextureException : public ExceptionBase {
public:
    using ExceptionBase::ExceptionBase;
};

class DemoPlayerException : public ExceptionBase {
public:
    using ExceptionBase::ExceptionBase;
};

// Thrown by value when the window or its OpenGL context cannot be made. It
// stands apart from ExceptionBase and carries only its message.
class InitGLException {
public:
    explicit InitGLException(const char* message) : message_(message) {}
    const char* message() const { return message_; }

private:
    const char* message_;
};

}  // namespace demo
