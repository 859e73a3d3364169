#include "sl-runtime/sl_records.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace demo {
namespace {

constexpr const char* kTypeNames[slTypeNone] = {
    "half",     "half2",    "half3",    "half4",    "half1x1",  "half1x2",  "half1x3",
    "half1x4",  "half2x1",  "half2x2",  "half2x3",  "half2x4",  "half3x1",  "half3x2",
    "half3x3",  "half3x4",  "half4x1",  "half4x2",  "half4x3",  "half4x4",  "float",
    "float2",   "float3",   "float4",   "float1x1", "float1x2", "float1x3", "float1x4",
    "float2x1", "float2x2", "float2x3", "float2x4", "float3x1", "float3x2", "float3x3",
    "float3x4", "float4x1", "float4x2", "float4x3", "float4x4",
};

// "prefix" followed by a decimal number in [0, count), without leading zeros.
int numberedName(std::string_view name, std::string_view prefix, int count) {
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) return -1;
    std::string_view digits = name.substr(prefix.size());
    if (digits.size() > 2 || (digits.size() == 2 && digits[0] == '0')) return -1;
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value < count ? value : -1;
}

SlParameter* newNamedParameter(SlParameterKind kind, std::string_view name) {
    auto* parameter = new SlParameter;
    parameter->kind = kind;
    parameter->Name = std::string(name);
    std::size_t dot = name.rfind('.');
    parameter->shortName = std::string(dot == std::string_view::npos ? name : name.substr(dot + 1));
    return parameter;
}

// Truncation toward zero of a value that may lie outside int or be NaN.
int clampedInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

}  // namespace

void sliAssert(const char* file, int line, const char* expression) {
    std::fprintf(stderr, "assertion \"%s\" failed : file \"%s\", line %d\n", expression, file, line);
    std::abort();
}

SlProfile sliProfileFromName(std::string_view name) {
    if (name == "vp20") return slProfileVp20;
    if (name == "fp30") return slProfileFp30;
    if (name == "dx8vs") return slProfileDx8vs;
    if (name == "dx8ps") return slProfileDx8ps;
    return slProfileNone;
}

SlBinding sliBindingFromName(const std::optional<std::string>& name) {
    if (!name) return slBindNone;
    if (int unit = numberedName(*name, "TEX", 8); unit >= 0) return SlBinding(slBindTex0 + unit);
    if (int attr = numberedName(*name, "ATTR", 16); attr >= 0) return SlBinding(slBindAttr0 + attr);
    return slBindNone;
}

SlType sliTypeFromName(std::string_view name) {
    for (int i = 0; i < slTypeNone; ++i)
        if (name == kTypeNames[i]) return SlType(i);
    return slTypeNone;
}

void sliTypeDimensions(SlType type, int* rows, int* columns) {
    int u = -1;
    if (type >= slTypeHalf1x1 && type <= slTypeHalf4x4) u = type - slTypeHalf1x1;
    if (type >= slTypeFloat1x1 && type <= slTypeFloat4x4) u = type - slTypeFloat1x1;
    *rows = u < 0 ? 0 : 1 + u / 4;
    *columns = u < 0 ? 0 : 1 + u % 4;
}

SlProgram* sliNewProgram(SlContextData* context) {
    auto* program = new SlProgram;
    program->ParamList = sliNewList();
    program->context = context;
    return program;
}

void sliFreeProgram(SlProgram* program) {
    if (program == nullptr) return;
    sliFreeList(program->ParamList);
    delete program;
}

void sliAppendProgram(SlContextData* context, SlProgram* program) {
    SLI_ASSERT(program->Next == nullptr);
    program->Next = context->firstProgram;
    context->firstProgram = program;
}

void sliSetProgramProfile(SlProgram* program, std::string_view profileName) {
    program->profileName = std::string(profileName);
    program->Profile = sliProfileFromName(profileName);
}

void sliSetProgramName(SlProgram* program, std::string_view name) {
    program->name = std::string(name);
}

SlParameter* sliNewParameter(SlParameterKind kind, std::string_view name, const char* valueText) {
    SLI_ASSERT(kind != slTexObjParam);
    SlParameter* parameter = newNamedParameter(kind, name);
    if (valueText != nullptr) {
        parameter->valueText = valueText;
        double value = std::strtod(valueText, nullptr);
        for (double& v : parameter->values) v = value;
        parameter->intValue = clampedInt(value);
    }
    parameter->binding = sliComputeBinding(parameter);
    return parameter;
}

SlParameter* sliNewTexUnitParameter(std::string_view name, int unit) {
    SLI_ASSERT(unit >= 0);
    SlParameter* parameter = newNamedParameter(slTexObjParam, name);
    parameter->texUnit = unit;
    parameter->binding = sliComputeBinding(parameter);
    return parameter;
}

SlParameter* sliNewAttribParameter(std::string_view name, int registerIndex) {
    SLI_ASSERT(registerIndex >= 0);
    SlParameter* parameter = newNamedParameter(slUniformParam, name);
    parameter->registerIndex = registerIndex;
    parameter->binding = slBindConstRegister;
    parameter->arraySize = 1;
    parameter->type = slTypeFloat4;
    return parameter;
}

SlParameter* sliNewConstParameter(int registerIndex, double x, double y, double z, double w) {
    SLI_ASSERT(registerIndex >= 0);
    SlParameter* parameter =
        newNamedParameter(slConstParam, "$C[" + std::to_string(registerIndex) + "]$");
    parameter->values[0] = x;
    parameter->values[1] = y;
    parameter->values[2] = z;
    parameter->values[3] = w;
    parameter->registerIndex = registerIndex;
    parameter->binding = slBindConstRegister;
    parameter->arraySize = 1;
    parameter->type = slTypeFloat4;
    return parameter;
}

SlBinding sliComputeBinding(const SlParameter* parameter) {
    switch (parameter->kind) {
        case slUniformParam: return slBindNone;
        case slBoundParam: return sliBindingFromName(parameter->valueText);
        // Unit n binds like the name TEXn.
        case slTexObjParam: return SlBinding(parameter->texUnit);
        default: sliAssert(__FILE__, __LINE__, "no binding is defined for this parameter kind");
    }
}

int sliSetParameterType(SlParameter* parameter, std::string_view typeName, int arraySize) {
    SLI_ASSERT(arraySize > 0);
    parameter->type = sliTypeFromName(typeName);
    parameter->arraySize = arraySize;
    return parameter->type == slTypeNone ? slErrorUnknownType : slOk;
}

void sliRetainParameter(SlParameter* parameter) {
    SLI_ASSERT(parameter->RefCount >= 0);
    ++parameter->RefCount;
}

void sliReleaseParameter(SlParameter* parameter) {
    if (--parameter->RefCount < 1) delete parameter;
}

SlList* sliNewList() { return new SlList; }

void sliFreeList(SlList* list) {
    if (list == nullptr) return;
    for (SlListNode* node = list->Head; node != nullptr;) {
        SlListNode* next = node->next;
        sliReleaseParameter(node->parameter);
        delete node;
        node = next;
    }
    delete list;
}

SlParameter* sliFindParameter(const SlList* list, SlParameterKind kind, std::string_view name,
                              SlListNode** node) {
    for (SlListNode* n = list->Head; n != nullptr; n = n->next) {
        if ((kind == slAnyParam || n->parameter->kind == kind) && n->parameter->Name == name) {
            if (node != nullptr) *node = n;
            return n->parameter;
        }
    }
    return nullptr;
}

void sliInsertParameter(SlList* list, SlParameter* parameter) {
    auto* node = new SlListNode;
    node->parameter = parameter;
    sliRetainParameter(parameter);
    SlListNode* old = nullptr;
    if (sliFindParameter(list, slAnyParam, parameter->Name, &old) == nullptr) {
        node->prev = list->Tail;
        (list->Tail != nullptr ? list->Tail->next : list->Head) = node;
        list->Tail = node;
        return;
    }
    node->prev = old->prev;
    node->next = old->next;
    (old->prev != nullptr ? old->prev->next : list->Head) = node;
    (old->next != nullptr ? old->next->prev : list->Tail) = node;
    sliReleaseParameter(old->parameter);
    delete old;
}

namespace {
long liveBlocks = 0;
}  // namespace

void* sliAlloc(std::size_t size) {
    void* block = std::malloc(size > 0 ? size : 1);
    SLI_ASSERT(block != nullptr);
    ++liveBlocks;
    return block;
}

char* sliStrdup(const char* text) {
    SLI_ASSERT(text != nullptr);
    std::size_t size = std::strlen(text) + 1;
    return static_cast<char*>(std::memcpy(sliAlloc(size), text, size));
}

void sliFree(void* block) {
    if (block == nullptr) return;
    --liveBlocks;
    std::free(block);
}

long sliLiveBlocks() { return liveBlocks; }

}  // namespace demo
