// Name tables, parameter records, list replacement and the public lookups.

#include "sl-runtime/sl_records.h"

#include <gtest/gtest.h>

#include <string>

namespace demo {
namespace {

TEST(SlRecords, BindingAndTypeNames) {
    const std::pair<const char*, int> bindings[] = {
        {"TEX0", 0}, {"TEX7", 7}, {"TEX8", 25}, {"ATTR0", 8}, {"ATTR15", 23}, {"ATTR16", 25},
        {"attr0", 25}, {"TEX07", 25}, {"ATTR", 25}, {"TEX-1", 25}, {"", 25},
    };
    for (auto [name, binding] : bindings) EXPECT_EQ(sliBindingFromName(name), binding) << name;
    EXPECT_EQ(sliBindingFromName(std::nullopt), slBindNone);

    // name, type, rows, columns
    const std::tuple<const char*, int, int, int> types[] = {
        {"half", 0, 0, 0},       {"half4", 3, 0, 0},      {"half1x1", 4, 1, 1},
        {"half4x4", 19, 4, 4},   {"float", 20, 0, 0},     {"float1x4", 27, 1, 4},
        {"float4x3", 38, 4, 3},  {"float4x4", 39, 4, 4},  {"Float4", 40, 0, 0},
        {"float4 ", 40, 0, 0},   {"double", 40, 0, 0},
    };
    for (auto [name, type, rows, columns] : types) {
        EXPECT_EQ(sliTypeFromName(name), type) << name;
        int r = -1, c = -1;
        sliTypeDimensions(sliTypeFromName(name), &r, &c);
        EXPECT_EQ(r, rows) << name;
        EXPECT_EQ(c, columns) << name;
    }
    EXPECT_EQ(sliProfileFromName("fp30"), slProfileFp30);
    EXPECT_EQ(sliProfileFromName("dx8ps"), slProfileDx8ps);
    EXPECT_EQ(sliProfileFromName("VP20"), slProfileNone);
}

TEST(SlRecords, ConstructorsSetNamesBindingsAndValues) {
    SlList* list = sliNewList();
    sliInsertParameter(list, sliNewParameter(slBoundParam, "a.b.c", "TEX3"));
    sliInsertParameter(list, sliNewParameter(slUniformParam, "plain", "1e300"));
    sliInsertParameter(list, sliNewTexUnitParameter("main.tex", 5));
    sliInsertParameter(list, sliNewAttribParameter("main.M", 4));
    sliInsertParameter(list, sliNewConstParameter(12, 1, 2, 3, 4));
    const SlParameter* p = sliFindParameter(list, slAnyParam, "a.b.c");
    EXPECT_EQ(p->shortName, "c");
    EXPECT_EQ(p->binding, 3);
    p = sliFindParameter(list, slUniformParam, "plain");
    EXPECT_EQ(p->shortName, "plain");
    EXPECT_EQ(p->intValue, 2147483647);  // clamped, not undefined
    EXPECT_EQ(p->values[3], 1e300);
    EXPECT_EQ(p->binding, slBindNone);
    EXPECT_EQ(sliFindParameter(list, slAnyParam, "main.tex")->binding, 5);
    EXPECT_EQ(sliFindParameter(list, slBoundParam, "main.tex"), nullptr);  // kind filter
    p = sliFindParameter(list, slUniformParam, "main.M");
    EXPECT_EQ(p->binding, slBindConstRegister);
    EXPECT_EQ(p->type, slTypeFloat4);
    p = sliFindParameter(list, slConstParam, "$C[12]$");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->registerIndex, 12);
    EXPECT_EQ(p->values[3], 4.0);
    EXPECT_EQ(sliSetParameterType(sliFindParameter(list, slAnyParam, "plain"), "float3", 2), 0);
    EXPECT_EQ(sliSetParameterType(sliFindParameter(list, slAnyParam, "plain"), "vec3", 1),
              slErrorUnknownType);
    EXPECT_EQ(sliFindParameter(list, slAnyParam, "plain")->type, slTypeNone);
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
    EXPECT_STREQ(slGetLastListing(context), "");
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
    EXPECT_EQ(slGetProgramProfile(older), slProfileNone);

    sliInsertParameter(newer->ParamList, sliNewAttribParameter("main.LightPos", 3));
    SlParameterHandle handle = slGetParameterByName(newer, "main.LightPos");
    ASSERT_NE(handle, nullptr);
    int size = 0;
    EXPECT_EQ(slGetParameterType(handle, &size), slTypeFloat4);
    EXPECT_EQ(size, 1);
    EXPECT_EQ(slGetParameterByName(newer, "LightPos"), nullptr);  // full names only
    EXPECT_EQ(slGetParameterByName(older, "main.LightPos"), nullptr);
    EXPECT_EQ(slGetParameterType(nullptr, &size), slTypeNone);
    EXPECT_EQ(slAddProgram(nullptr, "x", slProfileVp20, nullptr), slErrorCompile);
    slDestroyContext(context);
}

}  // namespace
}  // namespace demo
