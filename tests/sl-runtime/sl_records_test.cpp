// Name tables, parameter records, list replacement and the public lookups.

#include "sl-runtime/sl_records.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace demo {
namespace {

TEST(SlRecords, BindingAndTypeNames) {
    const std::pair<const char*, int> bindings[] = {{"TEX7", 7}, {"TEX8", 25}, {"ATTR15", 23},
                                                    {"ATTR16", 25}, {"TEX07", 25}, {"", 25}};
    for (auto [name, binding] : bindings) EXPECT_EQ(sliBindingFromName(name), binding) << name;
    EXPECT_EQ(sliBindingFromName(std::nullopt), slBindNone);
    // name, type, rows, columns
    const std::tuple<const char*, int, int, int> types[] = {
        {"half4", 3, 0, 0}, {"half1x1", 4, 1, 1}, {"float1x4", 27, 1, 4}, {"float4x3", 38, 4, 3},
        {"Float4", 40, 0, 0}, {"float4 ", 40, 0, 0}};
    for (auto [name, type, rows, columns] : types) {
        int r = -1, c = -1;
        sliTypeDimensions(sliTypeFromName(name), &r, &c);
        EXPECT_EQ(std::tuple(sliTypeFromName(name), r, c), std::tuple(type, rows, columns)) << name;
    }
    EXPECT_TRUE(sliProfileFromName("fp30") == slProfileFp30 &&
                sliProfileFromName("VP20") == slProfileNone);
}

TEST(SlRecords, ConstructorsSetNamesBindingsAndValues) {
    SlList* list = sliNewList();
    sliInsertParameter(list, sliNewParameter(slBoundParam, "a.b.c", "TEX3"));
    sliInsertParameter(list, sliNewParameter(slUniformParam, "plain", "1e300"));
    sliInsertParameter(list, sliNewTexUnitParameter("main.tex", 5));
    sliInsertParameter(list, sliNewConstParameter(12, 1, 2, 3, 4));
    const SlParameter* p = sliFindParameter(list, slAnyParam, "a.b.c");
    EXPECT_TRUE(p->shortName == "c" && p->binding == 3);
    p = sliFindParameter(list, slUniformParam, "plain");
    EXPECT_EQ(p->intValue, 2147483647);  // clamped, not undefined
    EXPECT_EQ(sliFindParameter(list, slBoundParam, "main.tex"), nullptr);  // kind filter
    p = sliFindParameter(list, slConstParam, "$C[12]$");
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->registerIndex == 12 && p->values[3] == 4.0);
    EXPECT_EQ(sliSetParameterType(sliFindParameter(list, slAnyParam, "plain"), "vec3", 1),
              slErrorUnknownType);
    sliFreeList(list);
}

std::string names(const SlList* list) {
    std::string out;
    for (const SlListNode* n = list->Head; n != nullptr; n = n->next) {
        out += n->parameter->Name + (n->parameter->valueText ? "=" + *n->parameter->valueText : "") + " ";
        EXPECT_EQ(n->next == nullptr ? list->Tail : n->next->prev, n);
    }
    return out;
}

TEST(SlRecords, InsertReplacesInPlaceAndReleasesTheOld) {
    const char* order[] = {"a", "b", "c"};
    for (int replaced = 0; replaced < 3; ++replaced) {
        SlList* list = sliNewList();
        for (const char* name : order) sliInsertParameter(list, sliNewParameter(slBoundParam, name, "x"));
        SlParameter* held = sliFindParameter(list, slAnyParam, order[replaced]);
        sliRetainParameter(held);  // a holder outside the list keeps it alive
        sliInsertParameter(list, sliNewParameter(slBoundParam, order[replaced], "new"));
        std::string expected;
        for (int i = 0; i < 3; ++i) expected += std::string(order[i]) + (i == replaced ? "=new " : "=x ");
        EXPECT_EQ(names(list), expected);
        EXPECT_EQ(held->RefCount, 1);
        sliReleaseParameter(held);
        sliFreeList(list);
    }
}

TEST(SlRecords, ProgramAndParameterLookups) {
    SlContext context = slCreateContext();
    EXPECT_EQ(slProgramByName(context, "main"), nullptr);  // empty context
    SlProgram* unnamed = sliNewProgram(context->Data);
    SlProgram* older = sliNewProgram(context->Data);
    SlProgram* newer = sliNewProgram(context->Data);
    sliSetProgramName(older, "main");
    sliSetProgramName(newer, "main");
    sliSetProgramProfile(newer, "vp20");
    for (SlProgram* p : {unnamed, older, newer}) sliAppendProgram(context->Data, p);
    EXPECT_EQ(slProgramByName(context, "main"), newer);
    EXPECT_EQ(slProgramByName(context, ""), nullptr);  // the unnamed program is never found
    EXPECT_EQ(slGetProgramProfile(newer), slProfileVp20);

    sliInsertParameter(newer->ParamList, sliNewAttribParameter("main.LightPos", 3));
    SlParameterHandle handle = slGetParameterByName(newer, "main.LightPos");
    ASSERT_NE(handle, nullptr);
    int size = 0;
    EXPECT_EQ(slGetParameterType(handle, &size), slTypeFloat4);
    EXPECT_EQ(slGetParameterByName(newer, "LightPos"), nullptr);  // full names only
    EXPECT_EQ(slGetParameterByName(older, "main.LightPos"), nullptr);
    EXPECT_EQ(slGetParameterType(nullptr, &size), slTypeNone);
    EXPECT_EQ(slAddProgram(nullptr, "x", slProfileVp20, nullptr), slErrorCompile);
    slDestroyContext(context);
}

}  // namespace
}  // namespace demo
