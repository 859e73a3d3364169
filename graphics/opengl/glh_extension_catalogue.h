#pragma once
// The catalogue of the OpenGL extensions the system knows, in matching order,
// and the entry points of each, in resolution order. Both pointer sets and
// the resolution tables are generated from these two lists; an extension or
// entry point of our own is added by adding a line here.
//
// DEMO_GL_EXTENSION_NAMES(X): X(extension)
// DEMO_GL_ENTRY_POINTS(X):    X(extension, entry point, pointer type)
// The entry points of one extension stay together, in their order.

#include <GL/gl.h>
#include <GL/glext.h>

// The imaging subset of OpenGL 1.2: gl.h claims it, so glext.h leaves out its
// pointer types.
using PFNGLCOLORTABLEPROC = void (*)(GLenum target, GLenum internalFormat, GLsizei width,
                                     GLenum format, GLenum type, const void* table);
using PFNGLCOLORTABLEPARAMETERFVPROC = void (*)(GLenum target, GLenum name, const GLfloat* values);
using PFNGLCOLORTABLEPARAMETERIVPROC = void (*)(GLenum target, GLenum name, const GLint* values);
using PFNGLCOPYCOLORTABLEPROC = void (*)(GLenum target, GLenum internalFormat, GLint x, GLint y,
                                         GLsizei width);
using PFNGLGETCOLORTABLEPROC = void (*)(GLenum target, GLenum format, GLenum type, void* table);
using PFNGLGETCOLORTABLEPARAMETERFVPROC = void (*)(GLenum target, GLenum name, GLfloat* values);
using PFNGLGETCOLORTABLEPARAMETERIVPROC = void (*)(GLenum target, GLenum name, GLint* values);

// Window-system entry points have no header on this platform; their handles
// are opaque.
using PFNWGLALLOCATEMEMORYNVPROC = void* (*)(GLsizei size, GLfloat readFrequency,
                                             GLfloat writeFrequency, GLfloat priority);
using PFNWGLFREEMEMORYNVPROC = void (*)(void* pointer);
using PFNWGLCREATEPBUFFERARBPROC = void* (*)(void* dc, int pixelFormat, int width, int height,
                                             const int* attributes);
using PFNWGLGETPBUFFERDCARBPROC = void* (*)(void* pbuffer);
using PFNWGLRELEASEPBUFFERDCARBPROC = int (*)(void* pbuffer, void* dc);
using PFNWGLDESTROYPBUFFERARBPROC = int (*)(void* pbuffer);
using PFNWGLQUERYPBUFFERARBPROC = int (*)(void* pbuffer, int attribute, int* value);
using PFNWGLGETPIXELFORMATATTRIBIVARBPROC = int (*)(void* dc, int pixelFormat, int layerPlane,
                                                    unsigned count, const int* attributes,
                                                    int* values);
using PFNWGLGETPIXELFORMATATTRIBFVARBPROC = int (*)(void* dc, int pixelFormat, int layerPlane,
                                                    unsigned count, const int* attributes,
                                                    float* values);
using PFNWGLCHOOSEPIXELFORMATARBPROC = int (*)(void* dc, const int* intAttributes,
                                               const float* floatAttributes, unsigned maxFormats,
                                               int* formats, unsigned* count);
using PFNWGLBINDTEXIMAGEARBPROC = int (*)(void* pbuffer, int buffer);
using PFNWGLRELEASETEXIMAGEARBPROC = int (*)(void* pbuffer, int buffer);
using PFNWGLSETPBUFFERATTRIBARBPROC = int (*)(void* pbuffer, const int* attributes);

#define DEMO_GL_EXTENSION_NAMES(X) \
    X(GL_ARB_multitexture) \
    X(GL_ARB_texture_border_clamp) \
    X(GL_ARB_texture_compression) \
    X(GL_ARB_texture_cube_map) \
    X(GL_ARB_transpose_matrix) \
    X(GL_EXT_abgr) \
    X(GL_EXT_bgra) \
    X(GL_EXT_blend_color) \
    X(GL_EXT_blend_minmax) \
    X(GL_EXT_blend_subtract) \
    X(GL_EXT_compiled_vertex_array) \
    X(GL_EXT_draw_range_elements) \
    X(GL_EXT_fog_coord) \
    X(GL_EXT_packed_pixels) \
    X(GL_EXT_paletted_texture) \
    X(GL_EXT_point_parameters) \
    X(GL_EXT_rescale_normal) \
    X(GL_EXT_secondary_color) \
    X(GL_EXT_separate_specular_color) \
    X(GL_EXT_shared_texture_palette) \
    X(GL_EXT_stencil_wrap) \
    X(GL_EXT_texture_env_add) \
    X(GL_EXT_texture_env_combine) \
    X(GL_EXT_texture_filter_anisotropic) \
    X(GL_EXT_texture_lod_bias) \
    X(GL_EXT_texture_object) \
    X(GL_EXT_texture3D) \
    X(GL_EXT_vertex_array) \
    X(GL_EXT_vertex_weighting) \
    X(GL_NV_blend_square) \
    X(GL_NV_evaluators) \
    X(GL_NV_fence) \
    X(GL_NV_fog_distance) \
    X(GL_NV_occlusion_query) \
    X(GL_NV_packed_depth_stencil) \
    X(GL_NV_register_combiners) \
    X(GL_NV_register_combiners2) \
    X(GL_NV_texgen_reflection) \
    X(GL_NV_texture_env_combine4) \
    X(GL_NV_texture_rectangle) \
    X(GL_NV_texture_shader) \
    X(GL_NV_vertex_array_range) \
    X(GL_NV_vertex_program) \
    X(GL_SGIS_generate_mipmap) \
    X(GL_SGIS_texture_lod) \
    X(GL_SGIX_depth_texture) \
    X(GL_SGIX_shadow) \
    X(GL_VERSION_1_2) \
    X(WGL_ARB_pbuffer) \
    X(WGL_ARB_pixel_format) \
    X(WGL_ARB_render_texture) \
    X(WGL_NV_render_texture_rectangle) \
    X(WGL_NV_render_depth_texture) \
    X(GL_NV_point_sprite) \


#define DEMO_GL_ENTRY_POINTS(X) \
    X(GL_ARB_multitexture, glMultiTexCoord1dARB, PFNGLMULTITEXCOORD1DARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord1dvARB, PFNGLMULTITEXCOORD1DVARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord1fARB, PFNGLMULTITEXCOORD1FARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord1fvARB, PFNGLMULTITEXCOORD1FVARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord1iARB, PFNGLMULTITEXCOORD1IARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord1ivARB, PFNGLMULTITEXCOORD1IVARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord1sARB, PFNGLMULTITEXCOORD1SARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord1svARB, PFNGLMULTITEXCOORD1SVARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord2dARB, PFNGLMULTITEXCOORD2DARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord2dvARB, PFNGLMULTITEXCOORD2DVARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord2fARB, PFNGLMULTITEXCOORD2FARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord2fvARB, PFNGLMULTITEXCOORD2FVARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord2iARB, PFNGLMULTITEXCOORD2IARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord2ivARB, PFNGLMULTITEXCOORD2IVARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord2sARB, PFNGLMULTITEXCOORD2SARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord2svARB, PFNGLMULTITEXCOORD2SVARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord3dARB, PFNGLMULTITEXCOORD3DARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord3dvARB, PFNGLMULTITEXCOORD3DVARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord3fARB, PFNGLMULTITEXCOORD3FARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord3fvARB, PFNGLMULTITEXCOORD3FVARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord3iARB, PFNGLMULTITEXCOORD3IARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord3ivARB, PFNGLMULTITEXCOORD3IVARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord3sARB, PFNGLMULTITEXCOORD3SARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord3svARB, PFNGLMULTITEXCOORD3SVARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord4dARB, PFNGLMULTITEXCOORD4DARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord4dvARB, PFNGLMULTITEXCOORD4DVARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord4fARB, PFNGLMULTITEXCOORD4FARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord4fvARB, PFNGLMULTITEXCOORD4FVARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord4iARB, PFNGLMULTITEXCOORD4IARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord4ivARB, PFNGLMULTITEXCOORD4IVARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord4sARB, PFNGLMULTITEXCOORD4SARBPROC) \
    X(GL_ARB_multitexture, glMultiTexCoord4svARB, PFNGLMULTITEXCOORD4SVARBPROC) \
    X(GL_ARB_multitexture, glActiveTextureARB, PFNGLACTIVETEXTUREARBPROC) \
    X(GL_ARB_multitexture, glClientActiveTextureARB, PFNGLCLIENTACTIVETEXTUREARBPROC) \
    X(GL_ARB_texture_compression, glCompressedTexImage3DARB, PFNGLCOMPRESSEDTEXIMAGE3DARBPROC) \
    X(GL_ARB_texture_compression, glCompressedTexImage2DARB, PFNGLCOMPRESSEDTEXIMAGE2DARBPROC) \
    X(GL_ARB_texture_compression, glCompressedTexImage1DARB, PFNGLCOMPRESSEDTEXIMAGE1DARBPROC) \
    X(GL_ARB_texture_compression, glCompressedTexSubImage3DARB, PFNGLCOMPRESSEDTEXSUBIMAGE3DARBPROC) \
    X(GL_ARB_texture_compression, glCompressedTexSubImage2DARB, PFNGLCOMPRESSEDTEXSUBIMAGE2DARBPROC) \
    X(GL_ARB_texture_compression, glCompressedTexSubImage1DARB, PFNGLCOMPRESSEDTEXSUBIMAGE1DARBPROC) \
    X(GL_ARB_texture_compression, glGetCompressedTexImageARB, PFNGLGETCOMPRESSEDTEXIMAGEARBPROC) \
    X(GL_ARB_transpose_matrix, glLoadTransposeMatrixfARB, PFNGLLOADTRANSPOSEMATRIXFARBPROC) \
    X(GL_ARB_transpose_matrix, glLoadTransposeMatrixdARB, PFNGLLOADTRANSPOSEMATRIXDARBPROC) \
    X(GL_ARB_transpose_matrix, glMultTransposeMatrixfARB, PFNGLMULTTRANSPOSEMATRIXFARBPROC) \
    X(GL_ARB_transpose_matrix, glMultTransposeMatrixdARB, PFNGLMULTTRANSPOSEMATRIXDARBPROC) \
    X(GL_EXT_blend_color, glBlendColorEXT, PFNGLBLENDCOLOREXTPROC) \
    X(GL_EXT_blend_minmax, glBlendEquationEXT, PFNGLBLENDEQUATIONEXTPROC) \
    X(GL_EXT_compiled_vertex_array, glLockArraysEXT, PFNGLLOCKARRAYSEXTPROC) \
    X(GL_EXT_compiled_vertex_array, glUnlockArraysEXT, PFNGLUNLOCKARRAYSEXTPROC) \
    X(GL_EXT_fog_coord, glFogCoorddEXT, PFNGLFOGCOORDDEXTPROC) \
    X(GL_EXT_fog_coord, glFogCoorddvEXT, PFNGLFOGCOORDDVEXTPROC) \
    X(GL_EXT_fog_coord, glFogCoordfEXT, PFNGLFOGCOORDFEXTPROC) \
    X(GL_EXT_fog_coord, glFogCoordfvEXT, PFNGLFOGCOORDFVEXTPROC) \
    X(GL_EXT_fog_coord, glFogCoordPointerEXT, PFNGLFOGCOORDPOINTEREXTPROC) \
    X(GL_EXT_paletted_texture, glColorSubTableEXT, PFNGLCOLORSUBTABLEEXTPROC) \
    X(GL_EXT_paletted_texture, glColorTableEXT, PFNGLCOLORTABLEEXTPROC) \
    X(GL_EXT_paletted_texture, glGetColorTableEXT, PFNGLGETCOLORTABLEEXTPROC) \
    X(GL_EXT_paletted_texture, glGetColorTableParameterfvEXT, PFNGLGETCOLORTABLEPARAMETERFVEXTPROC) \
    X(GL_EXT_paletted_texture, glGetColorTableParameterivEXT, PFNGLGETCOLORTABLEPARAMETERIVEXTPROC) \
    X(GL_EXT_point_parameters, glPointParameterfEXT, PFNGLPOINTPARAMETERFEXTPROC) \
    X(GL_EXT_point_parameters, glPointParameterfvEXT, PFNGLPOINTPARAMETERFVEXTPROC) \
    X(GL_EXT_secondary_color, glSecondaryColor3bEXT, PFNGLSECONDARYCOLOR3BEXTPROC) \
    X(GL_EXT_secondary_color, glSecondaryColor3bvEXT, PFNGLSECONDARYCOLOR3BVEXTPROC) \
    X(GL_EXT_secondary_color, glSecondaryColor3dEXT, PFNGLSECONDARYCOLOR3DEXTPROC) \
    X(GL_EXT_secondary_color, glSecondaryColor3dvEXT, PFNGLSECONDARYCOLOR3DVEXTPROC) \
    X(GL_EXT_secondary_color, glSecondaryColor3fEXT, PFNGLSECONDARYCOLOR3FEXTPROC) \
    X(GL_EXT_secondary_color, glSecondaryColor3fvEXT, PFNGLSECONDARYCOLOR3FVEXTPROC) \
    X(GL_EXT_secondary_color, glSecondaryColor3iEXT, PFNGLSECONDARYCOLOR3IEXTPROC) \
    X(GL_EXT_secondary_color, glSecondaryColor3ivEXT, PFNGLSECONDARYCOLOR3IVEXTPROC) \
    X(GL_EXT_secondary_color, glSecondaryColor3sEXT, PFNGLSECONDARYCOLOR3SEXTPROC) \
    X(GL_EXT_secondary_color, glSecondaryColor3svEXT, PFNGLSECONDARYCOLOR3SVEXTPROC) \
    X(GL_EXT_secondary_color, glSecondaryColor3ubEXT, PFNGLSECONDARYCOLOR3UBEXTPROC) \
    X(GL_EXT_secondary_color, glSecondaryColor3ubvEXT, PFNGLSECONDARYCOLOR3UBVEXTPROC) \
    X(GL_EXT_secondary_color, glSecondaryColor3uiEXT, PFNGLSECONDARYCOLOR3UIEXTPROC) \
    X(GL_EXT_secondary_color, glSecondaryColor3uivEXT, PFNGLSECONDARYCOLOR3UIVEXTPROC) \
    X(GL_EXT_secondary_color, glSecondaryColor3usEXT, PFNGLSECONDARYCOLOR3USEXTPROC) \
    X(GL_EXT_secondary_color, glSecondaryColor3usvEXT, PFNGLSECONDARYCOLOR3USVEXTPROC) \
    X(GL_EXT_secondary_color, glSecondaryColorPointerEXT, PFNGLSECONDARYCOLORPOINTEREXTPROC) \
    X(GL_EXT_texture_object, glAreTexturesResidentEXT, PFNGLARETEXTURESRESIDENTEXTPROC) \
    X(GL_EXT_texture_object, glBindTextureEXT, PFNGLBINDTEXTUREEXTPROC) \
    X(GL_EXT_texture_object, glDeleteTexturesEXT, PFNGLDELETETEXTURESEXTPROC) \
    X(GL_EXT_texture_object, glGenTexturesEXT, PFNGLGENTEXTURESEXTPROC) \
    X(GL_EXT_texture_object, glIsTextureEXT, PFNGLISTEXTUREEXTPROC) \
    X(GL_EXT_texture_object, glPrioritizeTexturesEXT, PFNGLPRIORITIZETEXTURESEXTPROC) \
    X(GL_EXT_texture3D, glTexImage3DEXT, PFNGLTEXIMAGE3DEXTPROC) \
    X(GL_EXT_vertex_array, glArrayElementEXT, PFNGLARRAYELEMENTEXTPROC) \
    X(GL_EXT_vertex_array, glColorPointerEXT, PFNGLCOLORPOINTEREXTPROC) \
    X(GL_EXT_vertex_array, glEdgeFlagPointerEXT, PFNGLEDGEFLAGPOINTEREXTPROC) \
    X(GL_EXT_vertex_array, glGetPointervEXT, PFNGLGETPOINTERVEXTPROC) \
    X(GL_EXT_vertex_array, glIndexPointerEXT, PFNGLINDEXPOINTEREXTPROC) \
    X(GL_EXT_vertex_array, glNormalPointerEXT, PFNGLNORMALPOINTEREXTPROC) \
    X(GL_EXT_vertex_array, glTexCoordPointerEXT, PFNGLTEXCOORDPOINTEREXTPROC) \
    X(GL_EXT_vertex_array, glVertexPointerEXT, PFNGLVERTEXPOINTEREXTPROC) \
    X(GL_EXT_vertex_array, glDrawArraysEXT, PFNGLDRAWARRAYSEXTPROC) \
    X(GL_EXT_vertex_weighting, glVertexWeightfEXT, PFNGLVERTEXWEIGHTFEXTPROC) \
    X(GL_EXT_vertex_weighting, glVertexWeightfvEXT, PFNGLVERTEXWEIGHTFVEXTPROC) \
    X(GL_EXT_vertex_weighting, glVertexWeightPointerEXT, PFNGLVERTEXWEIGHTPOINTEREXTPROC) \
    X(GL_NV_evaluators, glMapControlPointsNV, PFNGLMAPCONTROLPOINTSNVPROC) \
    X(GL_NV_evaluators, glMapParameterivNV, PFNGLMAPPARAMETERIVNVPROC) \
    X(GL_NV_evaluators, glMapParameterfvNV, PFNGLMAPPARAMETERFVNVPROC) \
    X(GL_NV_evaluators, glGetMapControlPointsNV, PFNGLGETMAPCONTROLPOINTSNVPROC) \
    X(GL_NV_evaluators, glGetMapParameterivNV, PFNGLGETMAPPARAMETERIVNVPROC) \
    X(GL_NV_evaluators, glGetMapParameterfvNV, PFNGLGETMAPPARAMETERFVNVPROC) \
    X(GL_NV_evaluators, glGetMapAttribParameterivNV, PFNGLGETMAPATTRIBPARAMETERIVNVPROC) \
    X(GL_NV_evaluators, glGetMapAttribParameterfvNV, PFNGLGETMAPATTRIBPARAMETERFVNVPROC) \
    X(GL_NV_evaluators, glEvalMapsNV, PFNGLEVALMAPSNVPROC) \
    X(GL_NV_fence, glGenFencesNV, PFNGLGENFENCESNVPROC) \
    X(GL_NV_fence, glDeleteFencesNV, PFNGLDELETEFENCESNVPROC) \
    X(GL_NV_fence, glSetFenceNV, PFNGLSETFENCENVPROC) \
    X(GL_NV_fence, glTestFenceNV, PFNGLTESTFENCENVPROC) \
    X(GL_NV_fence, glFinishFenceNV, PFNGLFINISHFENCENVPROC) \
    X(GL_NV_fence, glIsFenceNV, PFNGLISFENCENVPROC) \
    X(GL_NV_fence, glGetFenceivNV, PFNGLGETFENCEIVNVPROC) \
    X(GL_NV_occlusion_query, glGenOcclusionQueriesNV, PFNGLGENOCCLUSIONQUERIESNVPROC) \
    X(GL_NV_occlusion_query, glDeleteOcclusionQueriesNV, PFNGLDELETEOCCLUSIONQUERIESNVPROC) \
    X(GL_NV_occlusion_query, glIsOcclusionQueryNV, PFNGLISOCCLUSIONQUERYNVPROC) \
    X(GL_NV_occlusion_query, glBeginOcclusionQueryNV, PFNGLBEGINOCCLUSIONQUERYNVPROC) \
    X(GL_NV_occlusion_query, glEndOcclusionQueryNV, PFNGLENDOCCLUSIONQUERYNVPROC) \
    X(GL_NV_occlusion_query, glGetOcclusionQueryivNV, PFNGLGETOCCLUSIONQUERYIVNVPROC) \
    X(GL_NV_occlusion_query, glGetOcclusionQueryuivNV, PFNGLGETOCCLUSIONQUERYUIVNVPROC) \
    X(GL_NV_register_combiners, glCombinerParameterfvNV, PFNGLCOMBINERPARAMETERFVNVPROC) \
    X(GL_NV_register_combiners, glCombinerParameterfNV, PFNGLCOMBINERPARAMETERFNVPROC) \
    X(GL_NV_register_combiners, glCombinerParameterivNV, PFNGLCOMBINERPARAMETERIVNVPROC) \
    X(GL_NV_register_combiners, glCombinerParameteriNV, PFNGLCOMBINERPARAMETERINVPROC) \
    X(GL_NV_register_combiners, glCombinerInputNV, PFNGLCOMBINERINPUTNVPROC) \
    X(GL_NV_register_combiners, glCombinerOutputNV, PFNGLCOMBINEROUTPUTNVPROC) \
    X(GL_NV_register_combiners, glFinalCombinerInputNV, PFNGLFINALCOMBINERINPUTNVPROC) \
    X(GL_NV_register_combiners, glGetCombinerInputParameterfvNV, PFNGLGETCOMBINERINPUTPARAMETERFVNVPROC) \
    X(GL_NV_register_combiners, glGetCombinerInputParameterivNV, PFNGLGETCOMBINERINPUTPARAMETERIVNVPROC) \
    X(GL_NV_register_combiners, glGetCombinerOutputParameterfvNV, PFNGLGETCOMBINEROUTPUTPARAMETERFVNVPROC) \
    X(GL_NV_register_combiners, glGetCombinerOutputParameterivNV, PFNGLGETCOMBINEROUTPUTPARAMETERIVNVPROC) \
    X(GL_NV_register_combiners, glGetFinalCombinerInputParameterfvNV, PFNGLGETFINALCOMBINERINPUTPARAMETERFVNVPROC) \
    X(GL_NV_register_combiners, glGetFinalCombinerInputParameterivNV, PFNGLGETFINALCOMBINERINPUTPARAMETERIVNVPROC) \
    X(GL_NV_register_combiners2, glCombinerStageParameterfvNV, PFNGLCOMBINERSTAGEPARAMETERFVNVPROC) \
    X(GL_NV_register_combiners2, glGetCombinerStageParameterfvNV, PFNGLGETCOMBINERSTAGEPARAMETERFVNVPROC) \
    X(GL_NV_vertex_array_range, glFlushVertexArrayRangeNV, PFNGLFLUSHVERTEXARRAYRANGENVPROC) \
    X(GL_NV_vertex_array_range, glVertexArrayRangeNV, PFNGLVERTEXARRAYRANGENVPROC) \
    X(GL_NV_vertex_array_range, wglAllocateMemoryNV, PFNWGLALLOCATEMEMORYNVPROC) \
    X(GL_NV_vertex_array_range, wglFreeMemoryNV, PFNWGLFREEMEMORYNVPROC) \
    X(GL_NV_vertex_program, glAreProgramsResidentNV, PFNGLAREPROGRAMSRESIDENTNVPROC) \
    X(GL_NV_vertex_program, glBindProgramNV, PFNGLBINDPROGRAMNVPROC) \
    X(GL_NV_vertex_program, glDeleteProgramsNV, PFNGLDELETEPROGRAMSNVPROC) \
    X(GL_NV_vertex_program, glExecuteProgramNV, PFNGLEXECUTEPROGRAMNVPROC) \
    X(GL_NV_vertex_program, glGenProgramsNV, PFNGLGENPROGRAMSNVPROC) \
    X(GL_NV_vertex_program, glGetProgramParameterdvNV, PFNGLGETPROGRAMPARAMETERDVNVPROC) \
    X(GL_NV_vertex_program, glGetProgramParameterfvNV, PFNGLGETPROGRAMPARAMETERFVNVPROC) \
    X(GL_NV_vertex_program, glGetProgramivNV, PFNGLGETPROGRAMIVNVPROC) \
    X(GL_NV_vertex_program, glGetProgramStringNV, PFNGLGETPROGRAMSTRINGNVPROC) \
    X(GL_NV_vertex_program, glGetTrackMatrixivNV, PFNGLGETTRACKMATRIXIVNVPROC) \
    X(GL_NV_vertex_program, glGetVertexAttribdvNV, PFNGLGETVERTEXATTRIBDVNVPROC) \
    X(GL_NV_vertex_program, glGetVertexAttribfvNV, PFNGLGETVERTEXATTRIBFVNVPROC) \
    X(GL_NV_vertex_program, glGetVertexAttribivNV, PFNGLGETVERTEXATTRIBIVNVPROC) \
    X(GL_NV_vertex_program, glGetVertexAttribPointervNV, PFNGLGETVERTEXATTRIBPOINTERVNVPROC) \
    X(GL_NV_vertex_program, glIsProgramNV, PFNGLISPROGRAMNVPROC) \
    X(GL_NV_vertex_program, glLoadProgramNV, PFNGLLOADPROGRAMNVPROC) \
    X(GL_NV_vertex_program, glProgramParameter4dNV, PFNGLPROGRAMPARAMETER4DNVPROC) \
    X(GL_NV_vertex_program, glProgramParameter4dvNV, PFNGLPROGRAMPARAMETER4DVNVPROC) \
    X(GL_NV_vertex_program, glProgramParameter4fNV, PFNGLPROGRAMPARAMETER4FNVPROC) \
    X(GL_NV_vertex_program, glProgramParameter4fvNV, PFNGLPROGRAMPARAMETER4FVNVPROC) \
    X(GL_NV_vertex_program, glProgramParameters4dvNV, PFNGLPROGRAMPARAMETERS4DVNVPROC) \
    X(GL_NV_vertex_program, glProgramParameters4fvNV, PFNGLPROGRAMPARAMETERS4FVNVPROC) \
    X(GL_NV_vertex_program, glRequestResidentProgramsNV, PFNGLREQUESTRESIDENTPROGRAMSNVPROC) \
    X(GL_NV_vertex_program, glTrackMatrixNV, PFNGLTRACKMATRIXNVPROC) \
    X(GL_NV_vertex_program, glVertexAttribPointerNV, PFNGLVERTEXATTRIBPOINTERNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib1dNV, PFNGLVERTEXATTRIB1DNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib1dvNV, PFNGLVERTEXATTRIB1DVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib1fNV, PFNGLVERTEXATTRIB1FNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib1fvNV, PFNGLVERTEXATTRIB1FVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib1sNV, PFNGLVERTEXATTRIB1SNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib1svNV, PFNGLVERTEXATTRIB1SVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib2dNV, PFNGLVERTEXATTRIB2DNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib2dvNV, PFNGLVERTEXATTRIB2DVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib2fNV, PFNGLVERTEXATTRIB2FNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib2fvNV, PFNGLVERTEXATTRIB2FVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib2sNV, PFNGLVERTEXATTRIB2SNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib2svNV, PFNGLVERTEXATTRIB2SVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib3dNV, PFNGLVERTEXATTRIB3DNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib3dvNV, PFNGLVERTEXATTRIB3DVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib3fNV, PFNGLVERTEXATTRIB3FNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib3fvNV, PFNGLVERTEXATTRIB3FVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib3sNV, PFNGLVERTEXATTRIB3SNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib3svNV, PFNGLVERTEXATTRIB3SVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib4dNV, PFNGLVERTEXATTRIB4DNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib4dvNV, PFNGLVERTEXATTRIB4DVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib4fNV, PFNGLVERTEXATTRIB4FNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib4fvNV, PFNGLVERTEXATTRIB4FVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib4sNV, PFNGLVERTEXATTRIB4SNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib4svNV, PFNGLVERTEXATTRIB4SVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttrib4ubvNV, PFNGLVERTEXATTRIB4UBVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttribs1dvNV, PFNGLVERTEXATTRIBS1DVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttribs1fvNV, PFNGLVERTEXATTRIBS1FVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttribs1svNV, PFNGLVERTEXATTRIBS1SVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttribs2dvNV, PFNGLVERTEXATTRIBS2DVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttribs2fvNV, PFNGLVERTEXATTRIBS2FVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttribs2svNV, PFNGLVERTEXATTRIBS2SVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttribs3dvNV, PFNGLVERTEXATTRIBS3DVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttribs3fvNV, PFNGLVERTEXATTRIBS3FVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttribs3svNV, PFNGLVERTEXATTRIBS3SVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttribs4dvNV, PFNGLVERTEXATTRIBS4DVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttribs4fvNV, PFNGLVERTEXATTRIBS4FVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttribs4svNV, PFNGLVERTEXATTRIBS4SVNVPROC) \
    X(GL_NV_vertex_program, glVertexAttribs4ubvNV, PFNGLVERTEXATTRIBS4UBVNVPROC) \
    X(GL_VERSION_1_2, glBlendColor, PFNGLBLENDCOLORPROC) \
    X(GL_VERSION_1_2, glBlendEquation, PFNGLBLENDEQUATIONPROC) \
    X(GL_VERSION_1_2, glDrawRangeElements, PFNGLDRAWRANGEELEMENTSPROC) \
    X(GL_VERSION_1_2, glColorTable, PFNGLCOLORTABLEPROC) \
    X(GL_VERSION_1_2, glColorTableParameterfv, PFNGLCOLORTABLEPARAMETERFVPROC) \
    X(GL_VERSION_1_2, glColorTableParameteriv, PFNGLCOLORTABLEPARAMETERIVPROC) \
    X(GL_VERSION_1_2, glCopyColorTable, PFNGLCOPYCOLORTABLEPROC) \
    X(GL_VERSION_1_2, glGetColorTable, PFNGLGETCOLORTABLEPROC) \
    X(GL_VERSION_1_2, glGetColorTableParameterfv, PFNGLGETCOLORTABLEPARAMETERFVPROC) \
    X(GL_VERSION_1_2, glGetColorTableParameteriv, PFNGLGETCOLORTABLEPARAMETERIVPROC) \
    X(GL_VERSION_1_2, glTexImage3D, PFNGLTEXIMAGE3DPROC) \
    X(GL_VERSION_1_2, glTexSubImage3D, PFNGLTEXSUBIMAGE3DPROC) \
    X(GL_VERSION_1_2, glCopyTexSubImage3D, PFNGLCOPYTEXSUBIMAGE3DPROC) \
    X(WGL_ARB_pbuffer, wglCreatePbufferARB, PFNWGLCREATEPBUFFERARBPROC) \
    X(WGL_ARB_pbuffer, wglGetPbufferDCARB, PFNWGLGETPBUFFERDCARBPROC) \
    X(WGL_ARB_pbuffer, wglReleasePbufferDCARB, PFNWGLRELEASEPBUFFERDCARBPROC) \
    X(WGL_ARB_pbuffer, wglDestroyPbufferARB, PFNWGLDESTROYPBUFFERARBPROC) \
    X(WGL_ARB_pbuffer, wglQueryPbufferARB, PFNWGLQUERYPBUFFERARBPROC) \
    X(WGL_ARB_pixel_format, wglGetPixelFormatAttribivARB, PFNWGLGETPIXELFORMATATTRIBIVARBPROC) \
    X(WGL_ARB_pixel_format, wglGetPixelFormatAttribfvARB, PFNWGLGETPIXELFORMATATTRIBFVARBPROC) \
    X(WGL_ARB_pixel_format, wglChoosePixelFormatARB, PFNWGLCHOOSEPIXELFORMATARBPROC) \
    X(WGL_ARB_render_texture, wglBindTexImageARB, PFNWGLBINDTEXIMAGEARBPROC) \
    X(WGL_ARB_render_texture, wglReleaseTexImageARB, PFNWGLRELEASETEXIMAGEARBPROC) \
    X(WGL_ARB_render_texture, wglSetPbufferAttribARB, PFNWGLSETPBUFFERATTRIBARBPROC) \
    X(GL_NV_point_sprite, glPointParameteriNV, PFNGLPOINTPARAMETERINVPROC) \
    X(GL_NV_point_sprite, glPointParameterivNV, PFNGLPOINTPARAMETERIVNVPROC) \

