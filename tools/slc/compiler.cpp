#include "tools/slc/compiler.h"

#include "tools/slc/code_generator.h"
#include "tools/slc/compile_error.h"
#include "tools/slc/object_writer.h"
#include "tools/slc/sl_checker.h"
#include "tools/slc/sl_parser.h"

namespace demo::slc {

FrontEnd runFrontEnd(std::string_view source, const std::string& entry) {
    FrontEnd result;
    result.unit = parseUnit(source);
    const Function& f = checkUnit(result.unit, entry);
    result.entry = static_cast<int>(&f - result.unit.functions.data());
    return result;
}

Compilation compile(std::string_view source, const std::string& fileName, const std::string& entry) {
    Compilation result;
    try {
        FrontEnd front = runFrontEnd(source, entry);
        const Function& f = front.unit.functions[front.entry];
        GeneratedProgram generated = generateProgram(front.unit, f);
        result.object = writeObject(front.unit, f, generated);
        result.instructions = static_cast<int>(generated.program.code.size());
        result.listing = fileName + ": vp20 program '" + entry + "': " + std::to_string(result.instructions) +
                         " instructions, " +
                         std::to_string(generated.constantBase + static_cast<int>(generated.constants.size())) +
                         " constant registers\n";
        result.ok = true;
    } catch (const CompileError& error) {
        result.listing = fileName + "(" + std::to_string(error.line) + ") : error: " + error.text + "\n";
    }
    return result;
}

}  // namespace demo::slc
