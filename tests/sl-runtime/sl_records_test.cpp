// Name tables, parameter records, list replacement and the public lookups.

#include "sl-runtime/sl_records.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>

namespace demo {
namespace {

TEST(SlRecords, BindingAndTypeNames) {
    const std::pair<const char*, int> bindings[] = {{"TEX7", 7}, {"TEX8", 25}, {"ATTR15", 23},
                                                    {"ATTR16", 25}, {"TEX07", 25}, {"", 25}};
    for (auto [name, binding] : bindings) EXPECT_EQ(sliBindingFromName(name), binding) << name;
    EXPECT_EQ(sliBindingFromName(std::nullopt), slBindNone);
    // Name, type, rows, columns: rows come first in the name.
    const std::tuple<const char*, int, int, int> types[] = {
        {"half4", 3, 0, 0},     {"half1x1", 4, 1, 1},    {"half3x2", 13, 3, 2},
        {"float1x4", 27, 1, 4}, {"float4x3", 38, 4, 3},  {"float4x4", 39, 4, 4},
        {"Float4", 40, 0, 0},   {"float4 ", 40, 0, 0}};
    for (auto [name, type, rows, columns] : types) {
        int r = -1, c = -1;
        sliTypeDimensions(sliTypeFromName(name), &r, &c);
        EXPECT_EQ((std::array{int(sliTypeFromName(name)), r, c}), (std::array{type, rows, columns}))
            << name;
    }
}

TEST(SlRecords, ConstructorsAndLookups) {
    SlList* list = sliNewList();
    sliInsertParameter(list, sliNewParameter(slBoundParam, "a.b.c", "TEX3"));
    sliInsertParameter(list, sliNewParameter(slUniformParam, "plain", "1e300"));
    sliInsertParameter(list, sliNewTexUnitParameter("main.tex", 5));
    const SlParameter* p = sliFindParameter(list, slAnyParam, "a.b.c");
    EXPECT_TRUE(p->shortName == "c" && p->binding == 3);
    // The integer value clamped, not undefined; lookups filter by kind.
    EXPECT_EQ(sliFindParameter(list, slUniformParam, "plain")->intValue, 2147483647);
    EXPECT_EQ(sliFindParameter(list, slBoundParam, "main.tex"), nullptr);
    EXPECT_EQ(sliSetParameterType(sliFindParameter(list, slAnyParam, "plain"), "vec3", 1),
              slErrorUnknownType);
    sliFreeList(list);

    SlContext context = slCreateContext();
    EXPECT_EQ(slProgramByName(context, "main"), nullptr);  // empty context
    SlProgram* unnamed = sliNewProgram(context->Data);
    SlProgram* older = sliNewProgram(context->Data);
    SlProgram* newer = sliNewProgram(context->Data);
    sliSetProgramName(older, "main");
    sliSetProgramName(newer, "main");
    for (SlProgram* p : {unnamed, older, newer}) sliAppendProgram(context->Data, p);
    EXPECT_EQ(slProgramByName(context, "main"), newer);
    EXPECT_EQ(slProgramByName(context, ""), nullptr);  // the unnamed program is never found

    sliInsertParameter(newer->ParamList, sliNewAttribParameter("main.LightPos", 3));
    int n = 0;
    EXPECT_EQ(slGetParameterType(slGetParameterByName(newer, "main.LightPos"), &n), slTypeFloat4);
    EXPECT_EQ(slGetParameterByName(newer, "LightPos"), nullptr);  // full names only
    EXPECT_EQ(slGetParameterType(nullptr, &n), slTypeNone);
    EXPECT_EQ(slAddProgram(nullptr, "x", slProfileVp20, nullptr), slErrorCompile);
    slDestroyContext(context);
}

std::string names(const SlList* list) {
    std::string out;
    for (const SlListNode* n = list->Head; n != nullptr; n = n->next) {
        const SlParameter& p = *n->parameter;
        out += p.Name + (p.valueText ? "=" + *p.valueText : "") + " ";
        EXPECT_EQ(n->next == nullptr ? list->Tail : n->next->prev, n);
    }
    return out;
}

TEST(SlRecords, InsertReplacesInPlaceAndReleasesTheOld) {
    const char* order[] = {"a", "b", "c"};
    for (int replaced = 0; replaced < 3; ++replaced) {
        SlList* list = sliNewList();
        for (const char* name : order)
            sliInsertParameter(list, sliNewParameter(slBoundParam, name, "x"));
        SlParameter* held = sliFindParameter(list, slAnyParam, order[replaced]);
        sliRetainParameter(held);  // a holder outside the list keeps it alive
        sliInsertParameter(list, sliNewParameter(slBoundParam, order[replaced], "new"));
        std::string expected = "a=x b=x c=x ";
        EXPECT_EQ(names(list), expected.replace(4 * replaced + 2, 1, "new"));
        EXPECT_EQ(held->RefCount, 1);
        sliReleaseParameter(held);
        sliFreeList(list);
    }
}

}  // namespace
}  // namespace demo
