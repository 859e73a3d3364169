// Core entry points are linked directly; the ARB program calls come from the
// resolver that the platform hands over.
#define GL_GLEXT_PROTOTYPES 1
#include "platform/vertex_program/vertex_program_layer.h"

#include <GL/glext.h>

#include <cmath>
#include <cstring>
#include <map>
#include <string_view>

#include "platform/vertex_program/arb_program_emitter.h"
#include "platform/vertex_program/vertex_program_interpreter.h"
#include "platform/vertex_program/vertex_program_parser.h"

namespace demo::vp {

namespace {

struct ProgramRecord {
    GLenum target = 0;  // 0 until loaded
    std::string text;
    VertexProgram program;
    GLuint arbId = 0;
    unsigned trackingVersion = 0;
};

struct LayerState {
    std::map<GLuint, ProgramRecord> programs;  // loaded, generated or bound names
    std::array<Vec4, kParameters> parameters{};
    Tracking tracking{};
    unsigned trackingVersion = 1;
    GLint errorPosition = -1;
    GLuint bound = 0;
    std::string message;
};

struct ArbCalls {
    PFNGLGENPROGRAMSARBPROC gen = nullptr;
    PFNGLDELETEPROGRAMSARBPROC del = nullptr;
    PFNGLBINDPROGRAMARBPROC bind = nullptr;
    PFNGLPROGRAMSTRINGARBPROC string = nullptr;
    PFNGLPROGRAMENVPARAMETER4FARBPROC env = nullptr;
    PFNGLPROGRAMLOCALPARAMETER4FARBPROC local = nullptr;
};
ArbCalls arb;
Proc (*resolver)(const char*) = nullptr;

template <typename T>
void resolve(T& pointer, const char* name) {
    if (pointer == nullptr && resolver != nullptr) pointer = reinterpret_cast<T>(resolver(name));
}

// False when no resolver supplied the ARB program calls.
bool haveArb() {
    resolve(arb.gen, "glGenProgramsARB");
    resolve(arb.del, "glDeleteProgramsARB");
    resolve(arb.bind, "glBindProgramARB");
    resolve(arb.string, "glProgramStringARB");
    resolve(arb.env, "glProgramEnvParameter4fARB");
    resolve(arb.local, "glProgramLocalParameter4fARB");
    return arb.gen && arb.del && arb.bind && arb.string && arb.env && arb.local;
}

LayerState& state() {
    static LayerState* layer = new LayerState;
    return *layer;
}

// OpenGL keeps its error flags to itself; these calls set them for real.
void raise(GLenum error) {
    switch (error) {
        case GL_INVALID_ENUM: glEnable(0); break;
        case GL_INVALID_VALUE: glLineWidth(-1.0f); break;
        default: glEnd(); break;  // outside glBegin: GL_INVALID_OPERATION
    }
}

bool isTracked(int index) { return state().tracking[index / 4].matrix != GL_NONE; }

// The current value of a tracked matrix, row-major.
std::array<float, 16> trackedMatrix(const TrackedMatrix& t) {
    auto read = [](GLenum query) {
        std::array<float, 16> m{};
        glGetFloatv(query, m.data());
        return m;
    };
    std::array<float, 16> columns{};
    if (t.matrix == GL_MODELVIEW) columns = read(GL_MODELVIEW_MATRIX);
    if (t.matrix == GL_PROJECTION) columns = read(GL_PROJECTION_MATRIX);
    if (t.matrix == GL_MODELVIEW_PROJECTION_NV) {
        std::array<float, 16> mv = read(GL_MODELVIEW_MATRIX), p = read(GL_PROJECTION_MATRIX);
        for (int c = 0; c < 4; ++c) {
            for (int r = 0; r < 4; ++r) {
                float sum = 0;
                for (int k = 0; k < 4; ++k) sum += p[k * 4 + r] * mv[c * 4 + k];
                columns[c * 4 + r] = sum;
            }
        }
    }
    bool texture = t.matrix >= GL_TEXTURE0 && t.matrix <= GL_TEXTURE31;
    if (texture || (t.matrix >= GL_MATRIX0_NV && t.matrix <= GL_MATRIX7_NV)) {
        GLint mode = 0, unit = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
        glActiveTexture(GL_TEXTURE0 + t.textureUnit);
        glMatrixMode(texture ? GL_TEXTURE : GL_MATRIX0_ARB + (t.matrix - GL_MATRIX0_NV));
        columns = read(GL_CURRENT_MATRIX_ARB);
        glMatrixMode(static_cast<GLenum>(mode));
        glActiveTexture(static_cast<GLenum>(unit));
    }
    std::array<double, 16> a{}, inv{};  // a[row * 4 + col]
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) a[r * 4 + c] = columns[c * 4 + r];
    }
    bool invert = t.transform == GL_INVERSE_NV || t.transform == GL_INVERSE_TRANSPOSE_NV;
    bool transpose = t.transform == GL_TRANSPOSE_NV || t.transform == GL_INVERSE_TRANSPOSE_NV;
    if (invert) {
        // Gauss-Jordan with partial pivoting; a singular matrix gives zeros.
        for (int i = 0; i < 4; ++i) inv[i * 5] = 1.0;
        for (int col = 0; col < 4; ++col) {
            int pivot = col;
            for (int r = col + 1; r < 4; ++r) {
                if (std::fabs(a[r * 4 + col]) > std::fabs(a[pivot * 4 + col])) pivot = r;
            }
            if (std::fabs(a[pivot * 4 + col]) < 1e-12) {
                inv.fill(0.0);
                break;
            }
            for (int k = 0; k < 4; ++k) {
                std::swap(a[col * 4 + k], a[pivot * 4 + k]);
                std::swap(inv[col * 4 + k], inv[pivot * 4 + k]);
            }
            double d = a[col * 4 + col];
            for (int k = 0; k < 4; ++k) {
                a[col * 4 + k] /= d;
                inv[col * 4 + k] /= d;
            }
            for (int r = 0; r < 4; ++r) {
                if (r == col) continue;
                double f = a[r * 4 + col];
                for (int k = 0; k < 4; ++k) {
                    a[r * 4 + k] -= f * a[col * 4 + k];
                    inv[r * 4 + k] -= f * inv[col * 4 + k];
                }
            }
        }
        a = inv;
    }
    std::array<float, 16> rows{};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) rows[r * 4 + c] = static_cast<float>(transpose ? a[c * 4 + r] : a[r * 4 + c]);
    }
    return rows;
}

// Every parameter as a program sees it now, tracked rows included.
std::array<Vec4, kParameters> currentParameters() {
    std::array<Vec4, kParameters> values = state().parameters;
    for (int block = 0; block < kParameters / 4; ++block) {
        const TrackedMatrix& t = state().tracking[block];
        if (t.matrix == GL_NONE) continue;
        std::array<float, 16> m = trackedMatrix(t);
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c) values[block * 4 + r][c] = m[r * 4 + c];
        }
    }
    return values;
}

void storeParameter(int index, const Vec4& v) {
    state().parameters[index] = v;
    if (haveArb()) arb.env(GL_VERTEX_PROGRAM_ARB, index, v[0], v[1], v[2], v[3]);
}

// Hands the record's translation to the driver; false (with the message
// kept) when the driver refuses it.
bool translate(ProgramRecord& record) {
    LayerState& s = state();
    if (!haveArb()) {
        s.message = "no ARB vertex-program entry points";
        return false;
    }
    std::string text = emitArbProgram(record.program, s.tracking);
    if (record.arbId == 0) arb.gen(1, &record.arbId);
    arb.bind(GL_VERTEX_PROGRAM_ARB, record.arbId);
    arb.string(GL_VERTEX_PROGRAM_ARB, GL_PROGRAM_FORMAT_ASCII_ARB, static_cast<GLsizei>(text.size()),
               text.data());
    GLint position = -1;
    glGetIntegerv(GL_PROGRAM_ERROR_POSITION_ARB, &position);
    if (position == -1) {
        arb.local(GL_VERTEX_PROGRAM_ARB, kOneLocalParameter, 1, 1, 1, 1);
        arb.local(GL_VERTEX_PROGRAM_ARB, kInitLocalParameter, 0, 0, 0, 1);
    }
    auto bound = s.programs.find(s.bound);
    arb.bind(GL_VERTEX_PROGRAM_ARB, bound != s.programs.end() ? bound->second.arbId : 0);
    record.trackingVersion = s.trackingVersion;
    if (position == -1) return true;
    const GLubyte* why = glGetString(GL_PROGRAM_ERROR_STRING_ARB);
    s.message = "driver refused the translation: " +
                std::string(why != nullptr ? reinterpret_cast<const char*>(why) : "");
    return false;
}

bool checkTarget(GLenum target, GLenum wanted) {
    if (target == wanted) return true;
    raise(GL_INVALID_ENUM);
    return false;
}

bool checkRange(GLenum target, GLuint index, GLuint count) {
    if (!checkTarget(target, GL_VERTEX_PROGRAM_NV)) return false;
    if (index >= static_cast<GLuint>(kParameters) || count > kParameters - index) {
        raise(GL_INVALID_VALUE);
        return false;
    }
    for (GLuint i = index; i < index + count; ++i) {
        if (isTracked(static_cast<int>(i))) {
            raise(GL_INVALID_OPERATION);
            return false;
        }
    }
    return true;
}

// --- entry points ---------------------------------------------------------

void APIENTRY loadProgram(GLenum target, GLuint id, GLsizei len, const GLubyte* text) {
    if (target != GL_VERTEX_PROGRAM_NV && target != GL_VERTEX_STATE_PROGRAM_NV) {
        return raise(GL_INVALID_ENUM);
    }
    if (id == 0 || len < 0 || (text == nullptr && len > 0)) return raise(GL_INVALID_VALUE);
    LayerState& s = state();
    std::string_view source(reinterpret_cast<const char*>(text), static_cast<std::size_t>(len));
    ParseResult parsed = parseVertexProgram(source);
    if (parsed.ok() && (parsed.program.kind == ProgramKind::State10) !=
                           (target == GL_VERTEX_STATE_PROGRAM_NV)) {
        parsed.errorPosition = 0;
        parsed.message = "program header does not match the target";
    }
    ProgramRecord& record = s.programs[id];
    if (parsed.ok() && record.target != 0 && record.target != target) {
        parsed.errorPosition = 0;
        parsed.message = "program name belongs to another target";
    }
    if (!parsed.ok()) {
        s.errorPosition = parsed.errorPosition;
        s.message = parsed.message;
        return raise(GL_INVALID_OPERATION);
    }
    ProgramRecord updated = record;
    updated.target = target;
    updated.text.assign(source);
    updated.program = std::move(parsed.program);
    if (target == GL_VERTEX_PROGRAM_NV && !translate(updated)) {
        record.arbId = updated.arbId;
        s.errorPosition = 0;
        return raise(GL_INVALID_OPERATION);
    }
    record = std::move(updated);
    s.errorPosition = -1;
    // A program loaded while bound is drawn with at once.
    if (s.bound == id && haveArb()) arb.bind(GL_VERTEX_PROGRAM_ARB, record.arbId);
}

void APIENTRY bindProgram(GLenum target, GLuint id) {
    if (!checkTarget(target, GL_VERTEX_PROGRAM_NV)) return;
    LayerState& s = state();
    if (id == 0) {
        s.bound = 0;
        if (haveArb()) arb.bind(GL_VERTEX_PROGRAM_ARB, 0);
        return;
    }
    ProgramRecord& record = s.programs[id];
    if (record.target == GL_VERTEX_STATE_PROGRAM_NV) return raise(GL_INVALID_OPERATION);
    s.bound = id;
    if (record.target == GL_VERTEX_PROGRAM_NV && record.trackingVersion != s.trackingVersion &&
        !translate(record)) {
        s.errorPosition = 0;
    } else if (record.target != 0) {
        s.errorPosition = -1;
    }
    if (haveArb()) arb.bind(GL_VERTEX_PROGRAM_ARB, record.arbId);
}

void APIENTRY deletePrograms(GLsizei n, const GLuint* ids) {
    if (n < 0) return raise(GL_INVALID_VALUE);
    LayerState& s = state();
    for (GLsizei i = 0; i < n; ++i) {
        auto found = s.programs.find(ids[i]);
        if (found == s.programs.end()) continue;
        if (found->second.arbId != 0 && haveArb()) arb.del(1, &found->second.arbId);
        if (s.bound == ids[i]) s.bound = 0;
        s.programs.erase(found);
    }
}

void APIENTRY genPrograms(GLsizei n, GLuint* ids) {
    if (n < 0) return raise(GL_INVALID_VALUE);
    LayerState& s = state();
    GLuint next = s.programs.empty() ? 1 : s.programs.rbegin()->first + 1;
    for (GLsizei i = 0; i < n; ++i) {
        while (next == 0 || s.programs.count(next) != 0) ++next;
        s.programs[next];
        ids[i] = next;
    }
}

GLboolean APIENTRY isProgram(GLuint id) {
    auto found = state().programs.find(id);
    return found != state().programs.end() && found->second.target != 0 ? GL_TRUE : GL_FALSE;
}

GLboolean APIENTRY areProgramsResident(GLsizei n, const GLuint* ids, GLboolean* residences) {
    for (GLsizei i = 0; i < n; ++i) {
        if (isProgram(ids[i]) == GL_FALSE) {
            raise(GL_INVALID_VALUE);
            return GL_FALSE;
        }
        if (residences != nullptr) residences[i] = GL_TRUE;
    }
    return GL_TRUE;
}

void APIENTRY requestResidentPrograms(GLsizei, const GLuint*) {}

void APIENTRY getProgramiv(GLuint id, GLenum pname, GLint* params) {
    auto found = state().programs.find(id);
    if (found == state().programs.end() || found->second.target == 0) {
        return raise(GL_INVALID_OPERATION);
    }
    switch (pname) {
        case GL_PROGRAM_TARGET_NV: *params = static_cast<GLint>(found->second.target); break;
        case GL_PROGRAM_LENGTH_NV: *params = static_cast<GLint>(found->second.text.size()); break;
        case GL_PROGRAM_RESIDENT_NV: *params = GL_TRUE; break;
        default: raise(GL_INVALID_ENUM);
    }
}

void APIENTRY getProgramString(GLuint id, GLenum pname, GLubyte* program) {
    auto found = state().programs.find(id);
    if (found == state().programs.end() || found->second.target == 0) {
        return raise(GL_INVALID_OPERATION);
    }
    if (pname != GL_PROGRAM_STRING_NV) return raise(GL_INVALID_ENUM);
    std::memcpy(program, found->second.text.data(), found->second.text.size());
}

template <typename T>
void setParameters(GLenum target, GLuint index, GLsizei count, const T* v) {
    if (count < 0) return raise(GL_INVALID_VALUE);
    if (!checkRange(target, index, static_cast<GLuint>(count))) return;
    for (GLsizei i = 0; i < count; ++i) {
        const T* p = v + 4 * i;
        storeParameter(static_cast<int>(index) + i, Vec4{static_cast<float>(p[0]), static_cast<float>(p[1]),
                                                         static_cast<float>(p[2]), static_cast<float>(p[3])});
    }
}

template <typename T>
void APIENTRY parameter4(GLenum target, GLuint index, T x, T y, T z, T w) {
    const T v[4] = {x, y, z, w};
    setParameters(target, index, 1, v);
}

template <typename T>
void APIENTRY parameter4v(GLenum target, GLuint index, const T* v) {
    setParameters(target, index, 1, v);
}

template <typename T, typename Count>
void APIENTRY parameters4v(GLenum target, GLuint index, Count count, const T* v) {
    setParameters(target, index, static_cast<GLsizei>(count), v);
}

template <typename T>
void APIENTRY getParameter(GLenum target, GLuint index, GLenum pname, T* params) {
    if (!checkTarget(target, GL_VERTEX_PROGRAM_NV)) return;
    if (pname != GL_PROGRAM_PARAMETER_NV) return raise(GL_INVALID_ENUM);
    if (index >= static_cast<GLuint>(kParameters)) return raise(GL_INVALID_VALUE);
    Vec4 v = isTracked(static_cast<int>(index)) ? currentParameters()[index] : state().parameters[index];
    for (int i = 0; i < 4; ++i) params[i] = v[i];
}

void APIENTRY trackMatrix(GLenum target, GLuint address, GLenum matrix, GLenum transform) {
    if (!checkTarget(target, GL_VERTEX_PROGRAM_NV)) return;
    if (address % 4 != 0 || address >= static_cast<GLuint>(kParameters)) return raise(GL_INVALID_VALUE);
    // GL_TEXTURE is the active unit's matrix, tracked (and answered) as that
    // unit's; an active image unit past the texture units has none.
    if (matrix == GL_TEXTURE) {
        GLint active = GL_TEXTURE0;
        glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
        matrix = static_cast<GLenum>(active);
    }
    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    bool textureUnit = matrix >= GL_TEXTURE0 && matrix < GL_TEXTURE0 + static_cast<GLuint>(units);
    bool knownMatrix = matrix == GL_NONE || matrix == GL_MODELVIEW || matrix == GL_PROJECTION ||
                       textureUnit || matrix == GL_MODELVIEW_PROJECTION_NV ||
                       (matrix >= GL_MATRIX0_NV && matrix <= GL_MATRIX7_NV);
    bool knownTransform = transform == GL_IDENTITY_NV || transform == GL_INVERSE_NV ||
                          transform == GL_TRANSPOSE_NV || transform == GL_INVERSE_TRANSPOSE_NV;
    if (!knownMatrix || !knownTransform) return raise(GL_INVALID_ENUM);
    LayerState& s = state();
    TrackedMatrix tracked{matrix, matrix == GL_NONE ? GLenum(GL_IDENTITY_NV) : transform,
                          textureUnit ? static_cast<int>(matrix - GL_TEXTURE0) : 0};
    TrackedMatrix& block = s.tracking[address / 4];
    if (block == tracked) return;
    // Untracked registers keep the values they were last tracked with.
    if (matrix == GL_NONE) {
        std::array<float, 16> last = trackedMatrix(block);
        for (int r = 0; r < 4; ++r) {
            const float* row = &last[r * 4];
            storeParameter(static_cast<int>(address) + r, {row[0], row[1], row[2], row[3]});
        }
    }
    block = tracked;
    ++s.trackingVersion;
    // The bound program sees the change at once, like the driver's would.
    auto bound = s.programs.find(s.bound);
    if (bound != s.programs.end() && bound->second.target == GL_VERTEX_PROGRAM_NV) translate(bound->second);
}

void APIENTRY getTrackMatrix(GLenum target, GLuint address, GLenum pname, GLint* params) {
    if (!checkTarget(target, GL_VERTEX_PROGRAM_NV)) return;
    if (address % 4 != 0 || address >= static_cast<GLuint>(kParameters)) return raise(GL_INVALID_VALUE);
    const TrackedMatrix& t = state().tracking[address / 4];
    if (pname == GL_TRACK_MATRIX_NV) {
        *params = static_cast<GLint>(t.matrix);
    } else if (pname == GL_TRACK_MATRIX_TRANSFORM_NV) {
        *params = static_cast<GLint>(t.matrix == GL_NONE ? GLenum(GL_IDENTITY_NV) : t.transform);
    } else {
        raise(GL_INVALID_ENUM);
    }
}

void APIENTRY executeProgram(GLenum target, GLuint id, const GLfloat* params) {
    if (!checkTarget(target, GL_VERTEX_STATE_PROGRAM_NV)) return;
    LayerState& s = state();
    auto found = s.programs.find(id);
    if (found == s.programs.end() || found->second.target != GL_VERTEX_STATE_PROGRAM_NV) {
        return raise(GL_INVALID_OPERATION);
    }
    VertexMachine machine;
    machine.parameters = currentParameters();
    for (int i = 0; i < 4; ++i) machine.attributes[0][i] = params[i];
    execute(found->second.program, machine);
    for (int i = 0; i < kParameters; ++i) {
        if (!isTracked(i) && machine.parameters[i] != s.parameters[i]) storeParameter(i, machine.parameters[i]);
    }
}

// GL_PROGRAM_ERROR_POSITION_NV comes from the layer; the rest from the driver.
void APIENTRY getIntegerv(GLenum pname, GLint* params) {
    if (pname == GL_PROGRAM_ERROR_POSITION_NV) {
        *params = state().errorPosition;
        return;
    }
    glGetIntegerv(pname, params);
}

// Vertex attributes go to the conventional attribute of the same register.
void setAttribute(GLuint index, float x, float y, float z, float w) {
    switch (index) {
        case 0: glVertex4f(x, y, z, w); break;
        case 2: glNormal3f(x, y, z); break;
        case 3: glColor4f(x, y, z, w); break;
        case 4: glSecondaryColor3f(x, y, z); break;
        case 5: glFogCoordf(x); break;
        default:
            if (index >= static_cast<GLuint>(kAttributes)) return raise(GL_INVALID_VALUE);
            if (index >= 8) {
                glMultiTexCoord4f(GL_TEXTURE0 + (index - 8), x, y, z, w);
            } else {
                glVertexAttrib4f(index, x, y, z, w);
            }
    }
}

template <typename T>
float scaled(T v) {
    if constexpr (std::is_same_v<T, GLubyte>) return static_cast<float>(v) / 255.0f;
    return static_cast<float>(v);
}

template <typename T> void APIENTRY attrib1(GLuint i, T x) { setAttribute(i, scaled(x), 0, 0, 1); }
template <typename T> void APIENTRY attrib2(GLuint i, T x, T y) { setAttribute(i, scaled(x), scaled(y), 0, 1); }
template <typename T> void APIENTRY attrib3(GLuint i, T x, T y, T z) {
    setAttribute(i, scaled(x), scaled(y), scaled(z), 1);
}
template <typename T> void APIENTRY attrib4(GLuint i, T x, T y, T z, T w) {
    setAttribute(i, scaled(x), scaled(y), scaled(z), scaled(w));
}
template <int N, typename T> void APIENTRY attribv(GLuint i, const T* v) {
    float f[4] = {0, 0, 0, 1};
    for (int k = 0; k < N; ++k) f[k] = scaled(v[k]);
    setAttribute(i, f[0], f[1], f[2], f[3]);
}
template <int N, typename T> void APIENTRY attribsv(GLuint i, GLsizei n, const T* v) {
    for (GLsizei k = 0; k < n; ++k) attribv<N, T>(i + static_cast<GLuint>(k), v + N * k);
}

GLsizei typeSize(GLenum type) {
    switch (type) {
        case GL_UNSIGNED_BYTE: return 1;
        case GL_SHORT: return 2;
        case GL_FLOAT: return 4;
        case GL_DOUBLE: return 8;
        default: return 0;  // the driver refuses it
    }
}

void APIENTRY attribPointer(GLuint index, GLint size, GLenum type, GLsizei stride, const void* pointer) {
    // Normals and fog coordinates have a fixed size: a packed array of
    // another size keeps its layout through an explicit stride. Normals and
    // secondary colours of fewer than three components cannot be carried.
    if ((index == 2 || index == 4) && size < 3) return raise(GL_INVALID_VALUE);
    GLint fixedSize = index == 2 ? 3 : 1;
    GLsizei packed = stride != 0 || size == fixedSize ? stride : size * typeSize(type);
    switch (index) {
        case 0: glVertexPointer(size, type, stride, pointer); break;
        case 2: glNormalPointer(type, packed, pointer); break;
        case 3: glColorPointer(size, type, stride, pointer); break;
        case 4: glSecondaryColorPointer(size, type, stride, pointer); break;
        case 5: glFogCoordPointer(type, packed, pointer); break;
        default:
            if (index >= static_cast<GLuint>(kAttributes)) return raise(GL_INVALID_VALUE);
            if (index >= 8) {
                GLint active = GL_TEXTURE0;
                glGetIntegerv(GL_CLIENT_ACTIVE_TEXTURE, &active);
                glClientActiveTexture(GL_TEXTURE0 + (index - 8));
                glTexCoordPointer(size, type, stride, pointer);
                glClientActiveTexture(static_cast<GLenum>(active));
            } else {
                glVertexAttribPointer(index, size, type, type == GL_UNSIGNED_BYTE, stride, pointer);
            }
    }
}

// Runs the query with texture unit `unit` active (client side for arrays).
template <typename F>
void onTextureUnit(GLuint unit, bool client, F query) {
    GLint saved = GL_TEXTURE0;
    glGetIntegerv(client ? GL_CLIENT_ACTIVE_TEXTURE : GL_ACTIVE_TEXTURE, &saved);
    (client ? glClientActiveTexture : glActiveTexture)(GL_TEXTURE0 + unit);
    query();
    (client ? glClientActiveTexture : glActiveTexture)(static_cast<GLenum>(saved));
}

// An attribute's array state or current value, read back from the
// conventional attribute its register maps to; false after raising an error.
bool queryAttribute(GLuint index, GLenum pname, double out[4]) {
    if (index >= static_cast<GLuint>(kAttributes)) return raise(GL_INVALID_VALUE), false;
    // Rows: position, normal, colour, secondary colour, fog; 0 where the
    // conventional array has a fixed size or no such query.
    struct Conventional {
        GLuint index;
        GLenum size, stride, type, current;
        GLint fixedSize;
    };
    static constexpr Conventional kConventional[] = {
        {0, GL_VERTEX_ARRAY_SIZE, GL_VERTEX_ARRAY_STRIDE, GL_VERTEX_ARRAY_TYPE, 0, 0},
        {2, 0, GL_NORMAL_ARRAY_STRIDE, GL_NORMAL_ARRAY_TYPE, GL_CURRENT_NORMAL, 3},
        {3, GL_COLOR_ARRAY_SIZE, GL_COLOR_ARRAY_STRIDE, GL_COLOR_ARRAY_TYPE, GL_CURRENT_COLOR, 0},
        {4, GL_SECONDARY_COLOR_ARRAY_SIZE, GL_SECONDARY_COLOR_ARRAY_STRIDE,
         GL_SECONDARY_COLOR_ARRAY_TYPE, GL_CURRENT_SECONDARY_COLOR, 0},
        {5, 0, GL_FOG_COORD_ARRAY_STRIDE, GL_FOG_COORD_ARRAY_TYPE, GL_CURRENT_FOG_COORD, 1},
    };
    GLenum query = 0;
    bool current = pname == GL_CURRENT_ATTRIB_NV;
    if (!current && pname != GL_ATTRIB_ARRAY_SIZE_NV && pname != GL_ATTRIB_ARRAY_STRIDE_NV &&
        pname != GL_ATTRIB_ARRAY_TYPE_NV)
        return raise(GL_INVALID_ENUM), false;
    // Position has no current value to read.
    if (current && index == 0) return raise(GL_INVALID_OPERATION), false;
    out[0] = out[1] = out[2] = 0;
    out[3] = 1;
    if (index >= 8) {
        query = current                              ? GL_CURRENT_TEXTURE_COORDS
                : pname == GL_ATTRIB_ARRAY_SIZE_NV   ? GL_TEXTURE_COORD_ARRAY_SIZE
                : pname == GL_ATTRIB_ARRAY_STRIDE_NV ? GL_TEXTURE_COORD_ARRAY_STRIDE
                                                     : GL_TEXTURE_COORD_ARRAY_TYPE;
        onTextureUnit(index - 8, !current, [&] { glGetDoublev(query, out); });
        return true;
    }
    for (const Conventional& c : kConventional) {
        if (c.index != index) continue;
        if (pname == GL_ATTRIB_ARRAY_SIZE_NV && c.fixedSize != 0) return out[0] = c.fixedSize, true;
        query = current                              ? c.current
                : pname == GL_ATTRIB_ARRAY_SIZE_NV   ? c.size
                : pname == GL_ATTRIB_ARRAY_STRIDE_NV ? c.stride
                                                     : c.type;
        // Secondary colour and fog coordinate fill only what they have.
        double v[4] = {0, 0, 0, 1};
        glGetDoublev(query, v);
        std::memcpy(out, v, sizeof v);
        if (current && index == 4) out[3] = 1;
        return true;
    }
    query = current                              ? GL_CURRENT_VERTEX_ATTRIB
            : pname == GL_ATTRIB_ARRAY_SIZE_NV   ? GL_VERTEX_ATTRIB_ARRAY_SIZE
            : pname == GL_ATTRIB_ARRAY_STRIDE_NV ? GL_VERTEX_ATTRIB_ARRAY_STRIDE
                                                 : GL_VERTEX_ATTRIB_ARRAY_TYPE;
    glGetVertexAttribdv(index, query, out);
    return true;
}

template <typename T>
void APIENTRY getAttribute(GLuint index, GLenum pname, T* params) {
    double v[4];
    if (!queryAttribute(index, pname, v)) return;
    int count = pname == GL_CURRENT_ATTRIB_NV ? 4 : 1;
    for (int i = 0; i < count; ++i) params[i] = static_cast<T>(v[i]);
}

void APIENTRY getAttributePointer(GLuint index, GLenum pname, void** pointer) {
    if (index >= static_cast<GLuint>(kAttributes)) return raise(GL_INVALID_VALUE);
    if (pname != GL_ATTRIB_ARRAY_POINTER_NV) return raise(GL_INVALID_ENUM);
    static constexpr GLenum kPointers[] = {
        GL_VERTEX_ARRAY_POINTER,          0,
        GL_NORMAL_ARRAY_POINTER,          GL_COLOR_ARRAY_POINTER,
        GL_SECONDARY_COLOR_ARRAY_POINTER, GL_FOG_COORD_ARRAY_POINTER};
    if (index >= 8)
        return onTextureUnit(index - 8, true,
                             [&] { glGetPointerv(GL_TEXTURE_COORD_ARRAY_POINTER, pointer); });
    if (index < 6 && kPointers[index] != 0) return glGetPointerv(kPointers[index], pointer);
    glGetVertexAttribPointerv(index, GL_VERTEX_ATTRIB_ARRAY_POINTER, pointer);
}

struct Entry {
    const char* name;
    Proc proc;
};

template <typename F>
constexpr Proc proc(F f) {
    return reinterpret_cast<Proc>(f);
}

#define DEMO_ATTRIB_SET(n, suffix, T)                                          \
    {"glVertexAttrib" #n #suffix "NV", proc(&attrib##n<T>)},                 \
    {"glVertexAttrib" #n #suffix "vNV", proc(&attribv<n, T>)},               \
    {"glVertexAttribs" #n #suffix "vNV", proc(&attribsv<n, T>)}
#define DEMO_ATTRIB_SIZES(suffix, T) \
    DEMO_ATTRIB_SET(1, suffix, T), DEMO_ATTRIB_SET(2, suffix, T), DEMO_ATTRIB_SET(3, suffix, T), DEMO_ATTRIB_SET(4, suffix, T)

const Entry kEntries[] = {
    {"glAreProgramsResidentNV", proc(&areProgramsResident)},
    {"glBindProgramNV", proc(&bindProgram)},
    {"glDeleteProgramsNV", proc(&deletePrograms)},
    {"glExecuteProgramNV", proc(&executeProgram)},
    {"glGenProgramsNV", proc(&genPrograms)},
    {"glGetProgramParameterdvNV", proc(&getParameter<GLdouble>)},
    {"glGetProgramParameterfvNV", proc(&getParameter<GLfloat>)},
    {"glGetProgramivNV", proc(&getProgramiv)},
    {"glGetProgramStringNV", proc(&getProgramString)},
    {"glGetTrackMatrixivNV", proc(&getTrackMatrix)},
    {"glGetVertexAttribdvNV", proc(&getAttribute<GLdouble>)},
    {"glGetVertexAttribfvNV", proc(&getAttribute<GLfloat>)},
    {"glGetVertexAttribivNV", proc(&getAttribute<GLint>)},
    {"glGetVertexAttribPointervNV", proc(&getAttributePointer)},
    {"glIsProgramNV", proc(&isProgram)},
    {"glLoadProgramNV", proc(&loadProgram)},
    {"glProgramParameter4dNV", proc(&parameter4<GLdouble>)},
    {"glProgramParameter4dvNV", proc(&parameter4v<GLdouble>)},
    {"glProgramParameter4fNV", proc(&parameter4<GLfloat>)},
    {"glProgramParameter4fvNV", proc(&parameter4v<GLfloat>)},
    {"glProgramParameters4dvNV", proc(&parameters4v<GLdouble, GLsizei>)},
    {"glProgramParameters4fvNV", proc(&parameters4v<GLfloat, GLsizei>)},
    {"glRequestResidentProgramsNV", proc(&requestResidentPrograms)},
    {"glTrackMatrixNV", proc(&trackMatrix)},
    {"glVertexAttribPointerNV", proc(&attribPointer)},
    DEMO_ATTRIB_SIZES(d, GLdouble),
    DEMO_ATTRIB_SIZES(f, GLfloat),
    DEMO_ATTRIB_SIZES(s, GLshort),
    {"glVertexAttrib4ubNV", proc(&attrib4<GLubyte>)},
    {"glVertexAttrib4ubvNV", proc(&attribv<4, GLubyte>)},
    {"glVertexAttribs4ubvNV", proc(&attribsv<4, GLubyte>)},
    {"glGetIntegerv", proc(&getIntegerv)},
};

#undef DEMO_ATTRIB_SIZES
#undef DEMO_ATTRIB_SET

constexpr std::string_view kAddedNames = "GL_NV_vertex_program GL_NV_vertex_program1_1 ";

}  // namespace

Proc layerEntryPoint(const char* name) {
    if (name == nullptr) return nullptr;
    for (const Entry& entry : kEntries) {
        if (std::strcmp(entry.name, name) == 0) return entry.proc;
    }
    return nullptr;
}

bool listsVertexProgram(const char* extensions) {
    if (extensions == nullptr) return false;
    std::string_view list(extensions);
    constexpr std::string_view kName = "GL_NV_vertex_program";
    for (std::size_t at = list.find(kName); at != std::string_view::npos; at = list.find(kName, at + 1)) {
        bool startsToken = at == 0 || list[at - 1] == ' ' || list[at - 1] == '\n';
        std::size_t end = at + kName.size();
        bool endsToken = end == list.size() || list[end] == ' ' || list[end] == '\n';
        if (startsToken && endsToken) return true;
    }
    return false;
}

const char* withLayerExtensions(const char* driverExtensions) {
    static std::string driver;
    static std::string combined;
    std::string_view given = driverExtensions != nullptr ? driverExtensions : "";
    if (given != driver || combined.empty()) {
        driver.assign(given);
        combined = driver;
        if (!listsVertexProgram(driverExtensions)) {
            if (!combined.empty() && combined.back() != ' ') combined += ' ';
            combined += kAddedNames;
        }
    }
    return combined.c_str();
}

void setEntryPointResolver(Proc (*resolve)(const char* name)) {
    if (resolve == resolver) return;
    resolver = resolve;
    arb = ArbCalls{};
}

const std::string& lastLoadMessage() { return state().message; }

void resetLayer() {
    LayerState& s = state();
    s = LayerState{};
}

}  // namespace demo::vp
