#include "sl-runtime/sl_runtime.h"

#include "sl-runtime/sl_compiler.h"
#include "sl-runtime/sl_object_parser.h"
#include "sl-runtime/sl_records.h"

namespace demo {

// Compiles the program's sources and parses the object text into it.
int sliAddProgram(SlContextData* context, const char* text, SlProfile profile, const char* entry) {
    SlProgram* program = sliNewProgram(context);
    program->sources.emplace_back(text);
    sliSetParseTarget(context, program);
    int code = sliCompileProgram(&program->objectText, &program->listing, program->sources,
                                 profile, entry);
    if (code == 0) {
        sliParseProgramOutput(program, program->objectText, &program->listing);
        if (program->Profile != profile) {
            program->listing += "error: the object text names profile \"" + program->profileName +
                                "\", not \"" + sliProfileName(profile) + "\"\n";
            code = slErrorCompile;
        }
    }
    sliSetParseTarget(context, nullptr);  // the program may be freed below
    context->listing = program->listing;
    if (code != 0) {
        sliFreeProgram(program);
        return slErrorCompile;
    }
    sliAppendProgram(context, program);
    return slOk;
}

SlContext slCreateContext() {
    auto* context = new SlContextHandle;
    context->Data = new SlContextData;
    return context;
}

void slDestroyContext(SlContext context) {
    if (context == nullptr) return;
    for (SlProgram* program = context->Data->firstProgram; program != nullptr;) {
        SlProgram* next = program->Next;
        sliFreeProgram(program);
        program = next;
    }
    delete context->Data;
    delete context;
}

int slAddProgram(SlContext context, const char* text, SlProfile profile, const char* entry) {
    if (context == nullptr || context->Data == nullptr || text == nullptr) return slErrorCompile;
    return sliAddProgram(context->Data, text, profile, entry);
}

SlProgramHandle slProgramByName(SlContext context, const char* name) {
    if (context == nullptr || context->Data == nullptr || name == nullptr) return nullptr;
    for (SlProgram* program = context->Data->firstProgram; program != nullptr; program = program->Next)
        if (program->name && *program->name == name) return program;
    return nullptr;
}

SlProfile slGetProgramProfile(SlProgramHandle program) {
    return program != nullptr ? program->Profile : slProfileNone;
}

SlParameterHandle slGetParameterByName(SlProgramHandle program, const char* name) {
    if (program == nullptr || program->ParamList == nullptr || name == nullptr) return nullptr;
    SlListNode* node = nullptr;
    return sliFindParameter(program->ParamList, slAnyParam, name, &node) != nullptr ? node : nullptr;
}

SlType slGetParameterType(SlParameterHandle parameter, int* arraySize) {
    if (arraySize != nullptr) *arraySize = parameter != nullptr ? parameter->parameter->arraySize : 0;
    return parameter != nullptr ? parameter->parameter->type : slTypeNone;
}

const char* slGetLastListing(SlContext context) {
    return context != nullptr && context->Data != nullptr ? context->Data->listing.c_str() : "";
}

}  // namespace demo
