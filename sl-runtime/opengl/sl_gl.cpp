#include "sl-runtime/opengl/sl_gl.h"

#include <GL/glext.h>

#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/gl_proc_address.h"
#include "platform/vertex_program/vertex_program_layer.h"
#include "sl-runtime/sl_records.h"

namespace demo {
namespace {

constexpr GLenum kTargets[] = {GL_VERTEX_PROGRAM_NV, GL_FRAGMENT_PROGRAM_NV};

// Every entry point the binding resolves, in resolution order: the first four
// are needed by any profile, the next four by fp30, the rest by vp20.
constexpr const char* kEntryPointNames[] = {
    "glClientActiveTextureARB", "glActiveTextureARB", "glBindProgramNV", "glLoadProgramNV",
    "glProgramLocalParameter4fNV", "glProgramLocalParameter4dNV", "glProgramLocalParameter4fvNV",
    "glProgramLocalParameter4dvNV",
    "glProgramParameter4fNV", "glProgramParameter4dNV", "glProgramParameter4fvNV",
    "glProgramParameter4dvNV",
    "glVertexAttrib1sNV", "glVertexAttrib1fNV", "glVertexAttrib1dNV", "glVertexAttrib2sNV",
    "glVertexAttrib2fNV", "glVertexAttrib2dNV", "glVertexAttrib3sNV", "glVertexAttrib3fNV",
    "glVertexAttrib3dNV", "glVertexAttrib4sNV", "glVertexAttrib4fNV", "glVertexAttrib4dNV",
    "glVertexAttrib4ubNV",
    "glVertexAttrib1svNV", "glVertexAttrib1fvNV", "glVertexAttrib1dvNV", "glVertexAttrib2svNV",
    "glVertexAttrib2fvNV", "glVertexAttrib2dvNV", "glVertexAttrib3svNV", "glVertexAttrib3fvNV",
    "glVertexAttrib3dvNV", "glVertexAttrib4svNV", "glVertexAttrib4fvNV", "glVertexAttrib4dvNV",
    "glVertexAttrib4ubvNV",
    "glVertexAttribPointerNV"};
constexpr std::size_t kEntryPoints = std::size(kEntryPointNames);
// Indexes of the calls the binding makes, and where each group ends.
enum EntryPoint : std::size_t {
    kBindProgram = 2,
    kLoadProgram = 3,
    kCommonEnd = 4,
    kLocalParameter4f = 4,
    kLocalParameter4d,
    kLocalParameter4fv,
    kLocalParameter4dv,
    kFp30End,
    kParameter4d = 9,
    kParameter4dv = 11,
};

// The fragment-program calls that address a parameter by name.
using LocalParameter4f = void(APIENTRYP)(GLuint, GLsizei, const GLubyte*, GLfloat, GLfloat, GLfloat,
                                         GLfloat);
using LocalParameter4d = void(APIENTRYP)(GLuint, GLsizei, const GLubyte*, GLdouble, GLdouble,
                                         GLdouble, GLdouble);
using LocalParameter4fv = void(APIENTRYP)(GLuint, GLsizei, const GLubyte*, const GLfloat*);
using LocalParameter4dv = void(APIENTRYP)(GLuint, GLsizei, const GLubyte*, const GLdouble*);

struct Binding {
    bool loaded = false;
    bool supported[4] = {false, false, false, false};
    bool vertexProgram = false;
    bool vertexProgram11 = false;  // kept, not used
    std::string extensions;
    platform::GLProc entryPoints[kEntryPoints] = {};
    void (*getIntegerv)(GLenum, GLint*) = nullptr;  // answers the program error position
};

Binding& binding() {
    static Binding* state = new Binding;
    return *state;
}

template <typename T>
T entry(std::size_t index) {
    return reinterpret_cast<T>(binding().entryPoints[index]);
}

// True when every entry point of [first, end) resolved.
bool resolved(std::size_t first, std::size_t end) {
    for (std::size_t i = first; i < end; ++i) {
        if (binding().entryPoints[i] == nullptr) return false;
    }
    return true;
}

GLint errorPosition() {
    GLint position = -1;
    binding().getIntegerv(GL_PROGRAM_ERROR_POSITION_NV, &position);
    return position;
}

// The listing line of a refused load: the error position, and the reason
// when the platform's layer stands in for the driver.
std::string loadRefusal(GLint position) {
    std::string line = "error: OpenGL refused the program at position " + std::to_string(position);
    const bool layer = binding().entryPoints[kLoadProgram] == vp::layerEntryPoint("glLoadProgramNV");
    if (layer && !vp::lastLoadMessage().empty()) line += ": " + vp::lastLoadMessage();
    return line + "\n";
}

// A register refused unless all of its rows lie in c[0..95]; summed wide, so
// that no index overflows.
bool registersFit(const SlParameter* p, long long rows) {
    const long long first = p->registerIndex;
    return first >= 0 && first + rows <= kSlRegisters;
}

int vp20SetParameter4d(SlProgramHandle program, SlParameterHandle node, double x, double y,
                       double z, double w) {
    if (program->glProgramId < 0) return slErrorNotLoaded;
    const SlParameter* p = node->parameter;
    if (!registersFit(p, 1)) return slErrorRegister;
    entry<PFNGLPROGRAMPARAMETER4DNVPROC>(kParameter4d)(GL_VERTEX_PROGRAM_NV,
                                                      static_cast<GLuint>(p->registerIndex), x, y, z, w);
    return slOk;
}

int vp20SetParameter4f(SlProgramHandle program, SlParameterHandle node, float x, float y, float z,
                       float w) {
    return vp20SetParameter4d(program, node, x, y, z, w);
}

int vp20SetParameter4fv(SlProgramHandle program, SlParameterHandle node, const float* v) {
    return vp20SetParameter4d(program, node, v[0], v[1], v[2], v[3]);
}

int vp20SetParameter4dv(SlProgramHandle program, SlParameterHandle node, const double* v) {
    return vp20SetParameter4d(program, node, v[0], v[1], v[2], v[3]);
}

int vp20SetMatrixRow4d(SlProgramHandle program, SlParameterHandle node, int row, double x, double y, double z,
                       double w) {
    SLI_ASSERT(row >= 0);
    if (program->glProgramId < 0) return slErrorNotLoaded;
    const SlParameter* p = node->parameter;
    if (!registersFit(p, row + 1LL)) return slErrorRegister;
    entry<PFNGLPROGRAMPARAMETER4DNVPROC>(kParameter4d)(
        GL_VERTEX_PROGRAM_NV, static_cast<GLuint>(p->registerIndex + row), x, y, z, w);
    return slOk;
}

int vp20SetMatrixRow4f(SlProgramHandle program, SlParameterHandle node, int row, float x, float y,
                       float z, float w) {
    return vp20SetMatrixRow4d(program, node, row, x, y, z, w);
}

// Each bind puts the program's own constants back into the shared registers;
// a constant outside c[0..95] is left out and reported.
int vp20AfterBind(SlProgramHandle program) {
    if (program->glProgramId < 0) return slErrorNotLoaded;
    if (program->ParamList == nullptr) return slOk;
    int code = slOk;
    for (SlListNode* node = program->ParamList->Head; node != nullptr; node = node->next) {
        const SlParameter* p = node->parameter;
        if (p->kind != slConstParam) continue;
        if (!registersFit(p, 1)) {
            code = slErrorRegister;
            continue;
        }
        entry<PFNGLPROGRAMPARAMETER4DVNVPROC>(kParameter4dv)(
            GL_VERTEX_PROGRAM_NV, static_cast<GLuint>(p->registerIndex), p->values);
    }
    return code;
}

// fp30 addresses a parameter by its short name within the program. The public
// calls never reach this row (no driver is detected as supporting fp30); a
// direct caller gets 7 only when the entry point did not resolve.
int fp30Check(SlProgramHandle program, std::size_t entryPoint) {
    if (program->glProgramId < 0) return slErrorNotLoaded;
    return binding().entryPoints[entryPoint] != nullptr ? slOk : slErrorUnsupported;
}

const GLubyte* shortName(SlParameterHandle node) {
    return reinterpret_cast<const GLubyte*>(node->parameter->shortName.c_str());
}

GLsizei shortNameLength(SlParameterHandle node) {
    return static_cast<GLsizei>(node->parameter->shortName.size());
}

int fp30SetParameter4f(SlProgramHandle program, SlParameterHandle node, float x, float y, float z,
                       float w) {
    if (int code = fp30Check(program, kLocalParameter4f)) return code;
    entry<LocalParameter4f>(kLocalParameter4f)(static_cast<GLuint>(program->glProgramId),
                                               shortNameLength(node), shortName(node), x, y, z, w);
    return slOk;
}

int fp30SetParameter4d(SlProgramHandle program, SlParameterHandle node, double x, double y,
                       double z, double w) {
    if (int code = fp30Check(program, kLocalParameter4d)) return code;
    entry<LocalParameter4d>(kLocalParameter4d)(static_cast<GLuint>(program->glProgramId),
                                               shortNameLength(node), shortName(node), x, y, z, w);
    return slOk;
}

int fp30SetParameter4fv(SlProgramHandle program, SlParameterHandle node, const float* v) {
    if (int code = fp30Check(program, kLocalParameter4fv)) return code;
    entry<LocalParameter4fv>(kLocalParameter4fv)(static_cast<GLuint>(program->glProgramId),
                                                 shortNameLength(node), shortName(node), v);
    return slOk;
}

int fp30SetParameter4dv(SlProgramHandle program, SlParameterHandle node, const double* v) {
    if (int code = fp30Check(program, kLocalParameter4dv)) return code;
    entry<LocalParameter4dv>(kLocalParameter4dv)(static_cast<GLuint>(program->glProgramId),
                                                 shortNameLength(node), shortName(node), v);
    return slOk;
}

// Matrix rows have no fragment-program form: refused, not aborted.
int fp30SetMatrixRow4f(SlProgramHandle, SlParameterHandle, int, float, float, float, float) {
    return slErrorProfile;
}

int fp30SetMatrixRow4d(SlProgramHandle, SlParameterHandle, int, double, double, double, double) {
    return slErrorProfile;
}

int fp30AfterBind(SlProgramHandle) { return slOk; }

// One row per profile: vp20, fp30, dx8vs, dx8ps. The dx8 rows stay empty;
// the public calls reach a row only for a supported profile.
SlGLProfileOps profileTable[4];

// The operations of a supported profile; null (with the code) otherwise.
const SlGLProfileOps* opsOf(SlProfile profile, int* code) {
    if (profile < slProfileVp20 || profile > slProfileDx8ps) {
        *code = slErrorProfile;
        return nullptr;
    }
    if (!binding().supported[profile]) {
        *code = slErrorUnsupported;
        return nullptr;
    }
    return &profileTable[profile];
}

}  // namespace

bool slGLListsVertexProgram(const char* extensions) {
    if (extensions == nullptr) return false;
    std::string_view list(extensions);
    std::size_t at = 0;
    while (at < list.size()) {
        std::size_t end = list.find(' ', at);
        if (end == std::string_view::npos) end = list.size();
        if (list.substr(at, end - at) == "GL_NV_vertex_program") return true;
        at = end + 1;
    }
    return false;
}

void slGLDetectProfiles() {
    Binding& b = binding();
    if (b.extensions.empty()) b.extensions = platform::vertexProgramExtensions();
    b.vertexProgram = slGLListsVertexProgram(b.extensions.c_str());
    b.vertexProgram11 = b.extensions.find("GL_NV_vertex_program1_1") != std::string::npos;
    for (bool& flag : b.supported) flag = false;
    b.supported[slProfileVp20] = b.vertexProgram;
}

void slGLInitProfileTable() {
    for (SlGLProfileOps& row : profileTable) row = SlGLProfileOps{};
    profileTable[slProfileVp20] = {vp20SetParameter4f,  vp20SetParameter4d, vp20SetParameter4fv,
                                   vp20SetParameter4dv, vp20SetMatrixRow4f, vp20SetMatrixRow4d,
                                   vp20AfterBind};
    profileTable[slProfileFp30] = {fp30SetParameter4f,  fp30SetParameter4d, fp30SetParameter4fv,
                                   fp30SetParameter4dv, fp30SetMatrixRow4f, fp30SetMatrixRow4d,
                                   fp30AfterBind};
}

const SlGLProfileOps* slGLProfileOps(SlProfile profile) {
    slGLLoadExtensions();
    return profile >= slProfileVp20 && profile <= slProfileDx8ps ? &profileTable[profile] : nullptr;
}

void slGLLoadExtensions() {
    Binding& b = binding();
    if (b.loaded) return;
    slGLDetectProfiles();
    for (std::size_t i = 0; i < kEntryPoints; ++i)
        b.entryPoints[i] = platform::getProcAddress(kEntryPointNames[i]);
    b.getIntegerv = reinterpret_cast<void (*)(GLenum, GLint*)>(platform::getProcAddress("glGetIntegerv"));
    // A driver that names an extension but cannot supply its calls is
    // treated as one without it.
    const bool common = resolved(0, kCommonEnd) && b.getIntegerv != nullptr;
    b.supported[slProfileVp20] = b.supported[slProfileVp20] && common && resolved(kFp30End, kEntryPoints);
    b.supported[slProfileFp30] = b.supported[slProfileFp30] && common && resolved(kCommonEnd, kFp30End);
    slGLInitProfileTable();
    b.loaded = true;
}

SlGLProc slGLEntryPoint(const char* name) {
    slGLLoadExtensions();
    for (std::size_t i = 0; name != nullptr && i < kEntryPoints; ++i) {
        if (std::strcmp(kEntryPointNames[i], name) == 0) return binding().entryPoints[i];
    }
    return nullptr;
}

void slGLForget() { binding() = Binding{}; }

int slGLLoadProgram(SlProgramHandle program, GLuint id) {
    slGLLoadExtensions();
    if (program == nullptr) return slErrorLoad;
    int code = slOk;
    if (opsOf(program->Profile, &code) == nullptr) return code;
    const std::string& text = program->objectText;
    entry<PFNGLLOADPROGRAMNVPROC>(kLoadProgram)(kTargets[program->Profile], id,
                                                static_cast<GLsizei>(text.size()),
                                                reinterpret_cast<const GLubyte*>(text.data()));
    if (GLint position = errorPosition(); position != -1) {
        std::string line = loadRefusal(position);
        program->listing += line;
        if (program->context != nullptr) program->context->listing += line;
        return slErrorLoad;
    }
    program->glProgramId = static_cast<int>(id);
    return slOk;
}

int slGLBindProgram(SlProgramHandle program) {
    slGLLoadExtensions();
    if (program == nullptr) return slErrorBind;
    int code = slOk;
    const SlGLProfileOps* ops = opsOf(program->Profile, &code);
    if (ops == nullptr) return code;
    if (program->glProgramId < 0) return slErrorBind;
    entry<PFNGLBINDPROGRAMNVPROC>(kBindProgram)(kTargets[program->Profile],
                                                static_cast<GLuint>(program->glProgramId));
    if (errorPosition() != -1) return slErrorBind;
    return ops->afterBind(program);
}

int slGLEnableProfile(SlProfile profile) {
    slGLLoadExtensions();
    if (profile != slProfileVp20 && profile != slProfileFp30) return slErrorProfile;
    glEnable(kTargets[profile]);
    return slOk;
}

int slGLDisableProfile(SlProfile profile) {
    slGLLoadExtensions();
    if (profile != slProfileVp20 && profile != slProfileFp30) return slErrorProfile;
    glDisable(kTargets[profile]);
    return slOk;
}

int slGLSetParameter4f(SlProgramHandle program, SlParameterHandle parameter, float x, float y, float z,
                       float w) {
    slGLLoadExtensions();
    if (program == nullptr || parameter == nullptr) return slErrorNotLoaded;
    int code = slOk;
    const SlGLProfileOps* ops = opsOf(program->Profile, &code);
    return ops != nullptr ? ops->setParameter4f(program, parameter, x, y, z, w) : code;
}

int sliSetMatrixRows(SlProgramHandle program, SlParameterHandle parameter, const double* m) {
    int rows = 0, columns = 0;
    sliTypeDimensions(parameter->parameter->type, &rows, &columns);
    if (rows < 1) return slErrorNoRows;
    int code = slOk;
    const SlGLProfileOps* ops = opsOf(program->Profile, &code);
    if (ops == nullptr) return code;
    if (program->glProgramId >= 0 && !registersFit(parameter->parameter, rows)) return slErrorRegister;
    for (int i = 0; i < rows; ++i, m += columns) {
        if (columns < 1 || columns > 4) continue;
        double v[4] = {0, 0, 0, 0};
        for (int j = 0; j < columns; ++j) v[j] = m[j];
        code = ops->setMatrixRow4d(program, parameter, i, v[0], v[1], v[2], v[3]);
        if (code != slOk) return code;
    }
    return slOk;
}

int sliSetMatrixColumns(SlProgramHandle program, SlParameterHandle parameter, const double* m) {
    int rows = 0, columns = 0;
    sliTypeDimensions(parameter->parameter->type, &rows, &columns);
    SLI_ASSERT(rows * columns <= 16);
    if (rows < 1) return slErrorNoRows;
    double rowMajor[16];
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < columns; ++j) rowMajor[i * columns + j] = m[j * rows + i];
    }
    return sliSetMatrixRows(program, parameter, rowMajor);
}

int slGLSetStateMatrixParameter(SlProgramHandle program, SlParameterHandle parameter, int matrix,
                                int transform) {
    slGLLoadExtensions();
    if (program == nullptr || parameter == nullptr) return slErrorNotLoaded;
    int rows = 0, columns = 0;
    sliTypeDimensions(slGetParameterType(parameter, nullptr), &rows, &columns);
    if (rows != 4 || columns != 4) return slErrorNotMatrix4;
    if (static_cast<unsigned>(matrix) > 3) return slErrorMatrixSelector;
    static constexpr GLenum kQueries[] = {GL_MODELVIEW_MATRIX, GL_PROJECTION_MATRIX, GL_TEXTURE_MATRIX};
    double m[16];
    if (matrix < 3) {
        glGetDoublev(kQueries[matrix], m);
    } else {
        double modelview[16], projection[16];
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        sliMultiplyMatrix4(modelview, projection, m);
    }
    if (transform & 2) {
        double inverse[16];
        if (sliInvertMatrix4(m, inverse) == 0) return slErrorSingular;
        std::memcpy(m, inverse, sizeof m);
    }
    return (transform & 1) ? sliSetMatrixRows(program, parameter, m) : sliSetMatrixColumns(program, parameter, m);
}

void sliMultiplyMatrix4(const double* a, const double* b, double* out) {
    double result[16];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += a[i * 4 + k] * b[k * 4 + j];
            result[i * 4 + j] = sum;
        }
    }
    std::memcpy(out, result, sizeof result);
}

int sliInvertMatrix4(const double* in, double* out) {
    double w[16];
    std::memcpy(w, in, sizeof w);
    for (int i = 0; i < 16; ++i) out[i] = i % 5 == 0 ? 1.0 : 0.0;
    auto swapColumns = [](double* m, int a, int b) {
        for (int r = 0; r < 4; ++r) std::swap(m[r * 4 + a], m[r * 4 + b]);
    };
    for (int i = 0; i < 4; ++i) {
        int pivot = i;
        for (int k = i + 1; k < 4; ++k) {
            if (std::abs(w[i * 4 + k]) > std::abs(w[i * 4 + pivot])) pivot = k;
        }
        swapColumns(w, i, pivot);
        swapColumns(out, i, pivot);
        double d = w[i * 4 + i];
        if (std::abs(d) < 1e-6) return 0;
        for (int r = 0; r < 4; ++r) {
            w[r * 4 + i] /= d;
            out[r * 4 + i] /= d;
        }
        for (int j = 0; j < 4; ++j) {
            if (j == i) continue;
            double f = w[i * 4 + j];
            for (int r = 0; r < 4; ++r) {
                w[r * 4 + j] -= f * w[r * 4 + i];
                out[r * 4 + j] -= f * out[r * 4 + i];
            }
        }
    }
    return 1;
}

}  // namespace demo
