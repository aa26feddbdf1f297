#include "update/metalink_reader.h"

#include <windows.h>
#include <msxml2.h>
#include <objbase.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <vector>

#include "base/ascii_text.h"
#include "update/download.h"

namespace update {

namespace {

using Microsoft::WRL::ComPtr;

// {2933BF90-7B36-11D2-B20E-00C04F983E60}, {2933BF81-7B36-11D2-B20E-00C04F983E60}
constexpr CLSID kDomDocument = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
constexpr IID kDomDocumentInterface = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

std::wstring TakeText(BSTR text) {
    std::wstring taken = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return taken;
}

std::wstring NameOf(IXMLDOMNode* node) {
    BSTR name = nullptr;
    node->get_nodeName(&name);
    return TakeText(name);
}

// What a value holds when it is text (empty otherwise); the value is cleared.
std::wstring TakeText(VARIANT& value) {
    std::wstring text;
    if (value.vt == VT_BSTR) text.assign(value.bstrVal, SysStringLen(value.bstrVal));
    VariantClear(&value);
    return text;
}

bool Named(IXMLDOMNode* node, const wchar_t* name) { return base::EqualsNoCase(NameOf(node), name); }

// The child nodes of parent, in document order.
std::vector<ComPtr<IXMLDOMNode>> Children(IXMLDOMNode* parent) {
    std::vector<ComPtr<IXMLDOMNode>> children;
    ComPtr<IXMLDOMNodeList> list;
    if (!parent || FAILED(parent->get_childNodes(&list)) || !list) return children;
    list->reset();
    ComPtr<IXMLDOMNode> child;
    while (list->nextNode(child.ReleaseAndGetAddressOf()) == S_OK && child) children.push_back(child);
    return children;
}

// The first child of parent with that name, in any letter case.
ComPtr<IXMLDOMNode> ChildNamed(IXMLDOMNode* parent, const wchar_t* name) {
    for (const ComPtr<IXMLDOMNode>& child : Children(parent))
        if (Named(child.Get(), name)) return child;
    return nullptr;
}

// The value of the attribute with that name (in any letter case, as element names), when it is text.
std::wstring Attribute(IXMLDOMNode* node, const wchar_t* name) {
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    if (FAILED(node->get_attributes(&attributes)) || !attributes) return {};
    attributes->reset();
    ComPtr<IXMLDOMNode> attribute;
    while (attributes->nextNode(attribute.ReleaseAndGetAddressOf()) == S_OK && attribute) {
        if (!Named(attribute.Get(), name)) continue;
        VARIANT value;
        VariantInit(&value);
        attribute->get_nodeValue(&value);
        return TakeText(value);
    }
    return {};
}

// The element's typed value when it is text, without the blanks an indented file puts around it.
std::wstring TypedText(IXMLDOMNode* node) {
    VARIANT value;
    VariantInit(&value);
    node->get_nodeTypedValue(&value);
    const std::wstring text = TakeText(value);
    const size_t first = text.find_first_not_of(L" \t\r\n");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t\r\n") - first + 1);
}

std::vector<std::wstring> MirrorsOf(IXMLDOMDocument* document, int fileIndex) {
    std::vector<std::wstring> mirrors;
    const ComPtr<IXMLDOMNode> metalink = ChildNamed(document, L"metalink");
    const std::vector<ComPtr<IXMLDOMNode>> files = Children(ChildNamed(metalink.Get(), L"files").Get());
    if (fileIndex < 0 || static_cast<size_t>(fileIndex) >= files.size()) return mirrors;
    const ComPtr<IXMLDOMNode>& file = files[static_cast<size_t>(fileIndex)];
    if (!Named(file.Get(), L"file")) return mirrors;
    for (const ComPtr<IXMLDOMNode>& url : Children(ChildNamed(file.Get(), L"resources").Get())) {
        if (!Named(url.Get(), L"url")) continue;
        const std::wstring type = Attribute(url.Get(), L"type");
        if (!base::EqualsNoCase(type, L"http") && !base::EqualsNoCase(type, L"ftp")) continue;
        const std::wstring address = TypedText(url.Get());
        if (!address.empty()) mirrors.push_back(address);
    }
    return mirrors;
}

}  // namespace

std::vector<std::wstring> ReadMetalinkMirrors(const std::wstring& path, int fileIndex) {
    std::vector<std::wstring> mirrors;
    const HRESULT com = CoInitialize(nullptr);
    {
        ComPtr<IXMLDOMDocument> document;
        if (SUCCEEDED(CoCreateInstance(kDomDocument, nullptr, CLSCTX_INPROC_SERVER, kDomDocumentInterface,
                                       reinterpret_cast<void**>(document.GetAddressOf())))) {
            VARIANT source;
            VariantInit(&source);
            source.vt = VT_BSTR;
            source.bstrVal = SysAllocString(path.c_str());
            VARIANT_BOOL loaded = VARIANT_FALSE;
            // A document that loads asynchronously reports success before it has been read.
            document->put_async(VARIANT_FALSE);
            if (SUCCEEDED(document->load(source, &loaded)) && loaded == VARIANT_TRUE)
                mirrors = MirrorsOf(document.Get(), fileIndex);
            VariantClear(&source);
        }
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return mirrors;
}

bool ParseMetalink(CDownload& download) {
    const std::wstring path = download.TargetPath();
    bool added = false;
    for (const std::wstring& mirror : ReadMetalinkMirrors(path, download.MetalinkFileIndex()))
        added = download.AddMirror(mirror) || added;
    DeleteFileW(path.c_str());
    return added;
}

}  // namespace update
