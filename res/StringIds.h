/* Numbers and English texts of the launcher's string table. Shared by the
   resource script and by the host build, which has no resources. */
#ifndef QX_STRING_IDS_H
#define QX_STRING_IDS_H

#define IDS_WINDOWS_EXCEPTION    202
#define IDS_JNI_EXCEPTION        203
#define IDS_COM_ERROR            204
#define IDS_JRE_NOT_FOUND_SERVER 206
#define IDS_JRE_NOT_FOUND        207
#define IDS_MODULE_PATH_FAILED   208
#define IDS_NO_CLASS_PATH        209
#define IDS_NO_MAIN_CLASS        210
#define IDS_MAIN_CLASS_FAILED    211
#define IDS_NO_CREATE_JAVA_VM    212
#define IDS_CREATE_VM_FAILED     213
#define IDS_BROWSE_TITLE         214
#define IDS_MAIN_CLASS_NOT_FOUND 215
#define IDS_NO_MAIN_METHOD       216
#define IDS_LATEST_VERSION       217
#define IDS_MAXIMUM_VERSION      218
#define IDS_MINIMUM_VERSION      219
#define IDS_EXACT_VERSION        220
#define IDS_VERSION_BETWEEN      221
#define IDS_VM_LIBRARY_FAILED    222
#define IDS_MODULE_INIT_FAILED   224
#define IDS_REASON_UNKNOWN       225
#define IDS_REASON_DETACHED      226
#define IDS_REASON_VERSION       227
#define IDS_REASON_NO_MEMORY     228
#define IDS_REASON_EXISTS        229
#define IDS_REASON_INVALID       230

#define TEXT_202 "Windows exception: %s (errno = %d).\n"
#define TEXT_203 "JNI exception: %s\nReason: %s.\n"
#define TEXT_204 "COM error: %s (errno = %d).\n"
#define TEXT_206 "The Java Runtime Environment (JRE) was not found. Please  download and install a JRE with a server JVM (%s) from:"
#define TEXT_207 "The Java Runtime Environment (JRE) was not found. Please  download and install a JRE (%s) from:"
#define TEXT_208 "failed to get the module path"
#define TEXT_209 "Java Class Path was not specified in INI file."
#define TEXT_210 "Main class was not specified in INI file."
#define TEXT_211 "Failed to load Main Class: %s.\n"
#define TEXT_212 "cannot find CreateJavaVM JNI"
#define TEXT_213 "failed to create the Java VM"
#define TEXT_214 "Browse for JRE folder"
#define TEXT_215 "Could not find the main class %s.\n"
#define TEXT_216 "No main method found in specified class.\n"
#define TEXT_217 "latest version"
#define TEXT_218 "maximum version %s"
#define TEXT_219 "minimum version %s"
#define TEXT_220 "version %s is required"
#define TEXT_221 "version between %s and %s"
#define TEXT_222 "Failed to load Java VM library: %s (errno = %d).\n"
#define TEXT_224 "failed to initialize module"
#define TEXT_225 "unknown"
#define TEXT_226 "thread detached from VM"
#define TEXT_227 "JNI version error"
#define TEXT_228 "not enough memory"
#define TEXT_229 "VM already created"
#define TEXT_230 "invalid arguments"

#endif
