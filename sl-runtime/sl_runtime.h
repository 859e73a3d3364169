#pragma once
// The SL runtime's public calls: contexts that compile SL vertex programs
// through the external compiler, and lookups of programs and parameters by
// name. Plain functions over plain records (sl-runtime/sl_records.h) with
// integer return codes; texts are NUL-terminated.

namespace demo {

struct SlContextData;
struct SlProgram;
struct SlListNode;

// A context handle; Data holds its programs and the last compiler listing.
struct SlContextHandle {
    SlContextData* Data = nullptr;
};
using SlContext = SlContextHandle*;
// A program handle is the program record itself.
using SlProgramHandle = SlProgram*;
// A parameter handle is the list node that holds the parameter.
using SlParameterHandle = SlListNode*;

enum SlProfile : int {
    slProfileVp20 = 0,
    slProfileFp30 = 1,
    slProfileDx8vs = 2,
    slProfileDx8ps = 3,
    slProfileNone = 5,
};

// Parameter types: 40 names, see sliTypeFromName. Anchors of each group.
enum SlType : int {
    slTypeHalf = 0,        // half .. half4: 0-3
    slTypeHalf1x1 = 4,     // half1x1 .. half4x4: 4-19, rows first
    slTypeHalf4x4 = 19,
    slTypeFloat = 20,      // float .. float4: 20-23
    slTypeFloat4 = 23,
    slTypeFloat1x1 = 24,   // float1x1 .. float4x4: 24-39
    slTypeFloat4x4 = 39,
    slTypeNone = 40,
};

// Return codes of the runtime and its OpenGL binding.
enum SlError : int {
    slOk = 0,
    slErrorCompile = 1,          // the compiler could not run, failed, or its output was unusable
    slErrorProfile = 3,          // a profile the call does not handle
    slErrorLoad = 4,             // OpenGL reported an error position after loading
    slErrorBind = 5,             // no OpenGL id yet, or an error position after binding
    slErrorNotLoaded = 6,        // a parameter set on a program without OpenGL id
    slErrorUnsupported = 7,      // the driver does not support the program's profile
    slErrorUnknownType = 8,      // unknown type name
    slErrorNoRows = 9,           // a matrix set on a parameter whose type has no rows
    slErrorMatrixSelector = 10,  // state-matrix selector above 3
    slErrorNotMatrix4 = 11,      // state-matrix parameter not 4x4
    slErrorRegister = 12,        // a parameter without register, or rows past c[95]
    slErrorSingular = 13,        // an inverse asked of a singular matrix: nothing uploaded
};

// A new, empty context.
SlContext slCreateContext();
// Frees the context with its programs; handles into it become invalid.
void slDestroyContext(SlContext context);

// Compiles the text for the profile (entry may be null) and adds the program
// at the head of the context's list. 0 on success, 1 when the compiler could
// not run, failed, or gave output without the requested profile.
int slAddProgram(SlContext context, const char* text, SlProfile profile, const char* entry);

// The newest program of that exact name, or null (also for an empty context).
SlProgramHandle slProgramByName(SlContext context, const char* name);
SlProfile slGetProgramProfile(SlProgramHandle program);

// The first parameter whose full name ("main.LightPos") equals name, or null.
SlParameterHandle slGetParameterByName(SlProgramHandle program, const char* name);
// The parameter's type; its array size goes to *arraySize when that is not null.
SlType slGetParameterType(SlParameterHandle parameter, int* arraySize);

// The listing of the context's latest compilation, with the runtime's own
// error lines appended; never null ("" before any compilation).
const char* slGetLastListing(SlContext context);

}  // namespace demo
