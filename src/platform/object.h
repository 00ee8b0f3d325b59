// CObject and run-time class information, as host code written for the framework uses them.
#pragma once

#include "platform/types.h"

class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    const CRuntimeClass* m_pBaseClass;
    CObject* (*m_pfnCreateObject)() = nullptr; // set for classes made by their run-time class

    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
    // A new object of the class (the caller owns it), or nullptr for a class that is not
    // dynamically creatable.
    CObject* CreateObject() const;
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name) \
public: \
    static const CRuntimeClass class##class_name; \
    const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    const CRuntimeClass class_name::class##class_name = {#class_name, (int)sizeof(class_name), \
                                                         RUNTIME_CLASS(base_class_name)}; \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

// A class whose objects can be made from its run-time class alone (CreateObject).
#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name) \
    static CObject* CreateObject();

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    CObject* class_name::CreateObject() { return new class_name; } \
    const CRuntimeClass class_name::class##class_name = {#class_name, (int)sizeof(class_name), \
                                                         RUNTIME_CLASS(base_class_name), &class_name::CreateObject}; \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }
