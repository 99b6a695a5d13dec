#include "discovery/version_manifest.h"

#include <rapidxml.hpp>

#include <cstring>
#include <memory>
#include <new>

#include "discovery/decimal_number.h"

namespace {

using Document = rapidxml::xml_document<char>;
using Node = rapidxml::xml_node<char>;
using Attribute = rapidxml::xml_attribute<char>;

bool NameIs(const char* name, size_t size, const char* wanted) {
    return size == std::strlen(wanted) && std::memcmp(name, wanted, size) == 0;
}

// The first child element of parent with exactly that name (case-sensitive, byte by byte).
const Node* FindChildElement(const Node& parent, const char* name) {
    for (const Node* child = parent.first_node(); child; child = child->next_sibling()) {
        if (child->type() == rapidxml::node_element &&
            NameIs(child->name(), child->name_size(), name))
            return child;
    }
    return nullptr;
}

// The first attribute of element with exactly that name.
const Attribute* FindAttribute(const Node& element, const char* name) {
    for (const Attribute* attribute = element.first_attribute(); attribute;
         attribute = attribute->next_attribute()) {
        if (NameIs(attribute->name(), attribute->name_size(), name)) return attribute;
    }
    return nullptr;
}

// The four version attributes of a flavour element, in the order of PlayerVersion.
const char* const kVersionAttributes[] = {"major", "minor", "buildMajor", "buildMinor"};

bool FindVersionAttributes(const Node& element, const Attribute* found[4]) {
    for (int i = 0; i < 4; ++i) {
        found[i] = FindAttribute(element, kVersionAttributes[i]);
        if (!found[i]) return false;
    }
    return true;
}

// Values lie in the text with their own terminators (the parse wrote them); the size is used
// all the same, so a value is never read past its end.
uint32_t Number(const Attribute& attribute) {
    return ParseDecimalUnsigned32(attribute.value(), attribute.value() + attribute.value_size());
}

PlayerVersion VersionOf(const Attribute* const found[4], PlayerFlavour flavour) {
    PlayerVersion version;
    version.major = Number(*found[0]);
    version.minor = Number(*found[1]);
    version.buildMajor = Number(*found[2]);
    version.buildMinor = Number(*found[3]);
    version.flavour = flavour;
    return version;
}

}  // namespace

bool ParseVersionManifest(char* text, VersionManifest* manifest, const LogCode** failure) {
    std::unique_ptr<Document> document(new (std::nothrow) Document);
    if (!document) {
        *failure = &kManifestDocumentAllocFailed;
        return false;
    }
    try {
        document->parse<rapidxml::parse_default>(text);
    } catch (const rapidxml::parse_error&) {
        *failure = &kManifestMalformed;
        return false;
    } catch (const std::bad_alloc&) {
        // The document's memory pool could not grow: no memory for the document after all.
        *failure = &kManifestDocumentAllocFailed;
        return false;
    }

    const Node* version = FindChildElement(*document, "version");
    if (!version) {
        *failure = &kManifestNoVersion;
        return false;
    }
    const Node* activeX = FindChildElement(*version, "ActiveX");
    if (!activeX) {
        *failure = &kManifestNoActiveX;
        return false;
    }
    const Attribute* activeXValues[4];
    if (!FindVersionAttributes(*activeX, activeXValues)) {
        *failure = &kManifestActiveXAttributeMissing;
        return false;
    }
    const Node* plugin = FindChildElement(*version, "Plugin");
    if (!plugin) {
        *failure = &kManifestNoPlugin;
        return false;
    }
    const Attribute* pluginValues[4];
    if (!FindVersionAttributes(*plugin, pluginValues)) {
        *failure = &kManifestPluginAttributeMissing;
        return false;
    }
    const Node* sauConfig = FindChildElement(*version, "SAUConfig");
    if (!sauConfig) {
        *failure = &kManifestNoSAUConfig;
        return false;
    }
    const Attribute* checkFrequency = FindAttribute(*sauConfig, "checkFrequency");
    if (!checkFrequency) {
        *failure = &kManifestFrequencyMissing;
        return false;
    }

    // The result is a plain value: building it needs no memory, so 1430 (no memory for the
    // result) cannot happen here. The values are converted while the document still exists;
    // they lie in the text either way.
    VersionManifest result;
    result.activeX = VersionOf(activeXValues, PlayerFlavour::ActiveX);
    result.plugin = VersionOf(pluginValues, PlayerFlavour::Plugin);
    result.checkFrequency = Number(*checkFrequency);
    document.reset();
    *manifest = result;
    return true;
}
