/* Machine-dependent JNI types for the Windows targets (32- and 64-bit). */
#ifndef QX_JNI_MD_H
#define QX_JNI_MD_H

#define JNIEXPORT __declspec(dllexport)
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall

typedef int jint;
typedef long long jlong;
typedef signed char jbyte;

#endif
