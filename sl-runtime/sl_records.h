#pragma once
// The SL runtime's records: contexts, programs, parameters and the doubly
// linked parameter lists, with the internal calls that make and change them.
// The OpenGL binding builds on these.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sl-runtime/sl_runtime.h"

namespace demo {

enum SlParameterKind : int {
    slConstParam = 0,    // a constant register from a const line
    slUniformParam = 1,  // bound to a constant register, or declared without binding
    slBoundParam = 2,    // bound to a named binding (attribute, texture unit) or to none
    slTexObjParam = 3,   // a texture-unit binding
    slAnyParam = 4,      // lookup filter only: any kind
    slUnsetParam = 5,
};

enum SlBinding : int {
    slBindTex0 = 0,   // TEX0..TEX7: 0-7
    slBindAttr0 = 8,  // ATTR0..ATTR15: 8-23
    slBindConstRegister = 24,
    slBindNone = 25,
};

// Program-parameter registers: c[0] to c[95].
inline constexpr int kSlRegisters = 96;

struct SlParameter {
    int RefCount = 0;
    SlParameterKind kind = slUnsetParam;
    std::string Name;                      // full name, "main.ModelViewProj"
    std::string shortName;                 // after the last '.', "ModelViewProj"
    std::optional<std::string> valueText;  // binding name or default value as it came
    int intValue = 0;
    double values[4] = {0, 0, 0, 0};  // x, y, z, w
    int texUnit = -1;
    int registerIndex = -1;
    SlBinding binding = slBindNone;
    int arraySize = 0;
    SlType type = slTypeNone;
};

struct SlListNode {
    SlParameter* parameter = nullptr;
    SlListNode* next = nullptr;
    SlListNode* prev = nullptr;
};

struct SlList {
    SlListNode* Head = nullptr;
    SlListNode* Tail = nullptr;
};

struct SlProgram {
    SlList* ParamList = nullptr;
    std::vector<std::string> sources;  // the texts added for this program, in order
    std::string objectText;            // empty until compiled
    std::string listing;
    std::string profileName;           // as the compiler output names it
    SlProfile Profile = slProfileNone;
    std::optional<std::string> name;   // from the compiler output's program line
    int glProgramId = -1;              // -1 until loaded into OpenGL
    SlContextData* context = nullptr;
    SlProgram* Next = nullptr;
};

struct SlContextData {
    SlProgram* firstProgram = nullptr;  // newest first
    std::string listing;                // of the latest compilation
};

// Reports a broken internal invariant on standard error and aborts. Input
// never reaches it: what input can break is an error code instead.
[[noreturn]] void sliAssert(const char* file, int line, const char* expression);
#define SLI_ASSERT(e) ((e) ? (void)0 : ::demo::sliAssert(__FILE__, __LINE__, #e))

// Counted memory of the runtime: each live block is counted.
void* sliAlloc(std::size_t size);
char* sliStrdup(const char* text);
void sliFree(void* block);
long sliLiveBlocks();

// Compiles the text and puts the program at the head of the context's list:
// 0, or 1 when it failed (the context keeps the listing).
int sliAddProgram(SlContextData* context, const char* text, SlProfile profile, const char* entry);

SlProfile sliProfileFromName(std::string_view name);
// Exact, case-sensitive: "TEX0".."TEX7", "ATTR0".."ATTR15"; anything else none.
SlBinding sliBindingFromName(const std::optional<std::string>& name);
SlType sliTypeFromName(std::string_view name);
// Rows and columns of a matrix type; 0 and 0 for scalars, vectors and none.
void sliTypeDimensions(SlType type, int* rows, int* columns);

SlProgram* sliNewProgram(SlContextData* context);
void sliFreeProgram(SlProgram* program);
// Puts the program at the head of the context's list (newest first).
void sliAppendProgram(SlContextData* context, SlProgram* program);
void sliSetProgramProfile(SlProgram* program, std::string_view profileName);
void sliSetProgramName(SlProgram* program, std::string_view name);

// Parameter constructors; each record starts with RefCount 0. Indexes and
// units must be at least 0 (the parser refuses negative ones).
SlParameter* sliNewParameter(SlParameterKind kind, std::string_view name, const char* valueText);
SlParameter* sliNewTexUnitParameter(std::string_view name, int unit);
SlParameter* sliNewAttribParameter(std::string_view name, int registerIndex);
SlParameter* sliNewConstParameter(int registerIndex, double x, double y, double z, double w);
SlBinding sliComputeBinding(const SlParameter* parameter);
// slErrorUnknownType (the type becomes none) or 0; arraySize must be > 0.
int sliSetParameterType(SlParameter* parameter, std::string_view typeName, int arraySize);
void sliRetainParameter(SlParameter* parameter);
// Frees the parameter when its count falls below 1.
void sliReleaseParameter(SlParameter* parameter);

SlList* sliNewList();
// Releases every parameter and frees the nodes and the list.
void sliFreeList(SlList* list);
// The first parameter of that kind (any kind for slAnyParam) and exact name,
// or null; its node goes to *node when that is not null.
SlParameter* sliFindParameter(const SlList* list, SlParameterKind kind, std::string_view name,
                              SlListNode** node = nullptr);
// Appends the parameter, or puts it in the place of the one of the same name,
// which is released.
void sliInsertParameter(SlList* list, SlParameter* parameter);

}  // namespace demo
