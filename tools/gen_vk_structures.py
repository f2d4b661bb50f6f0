#!/usr/bin/env python3
"""Generates src/probe/vk_structures.cpp, the members of the core feature,
property and limit structures of Vulkan 1.0 to 1.3 and of every feature and
property structure that a device extension brings (VkPhysicalDevice...
structures extending VkPhysicalDeviceFeatures2 or VkPhysicalDeviceProperties2),
from the Vulkan registry (Debian package libvulkan-dev, vk.xml).

    python3 tools/gen_vk_structures.py [/usr/share/vulkan/registry/vk.xml] [src/probe/vk_structures.cpp]

For each structure: its sType, whether it extends the features or the
properties, the extension that brings it, the core version it belongs to
where it was promoted, and each member with how its type reads. Structures of
platform-specific or provisional extensions are left out: vulkan_core.h does
not define them. The output depends only on the registry, so the same
registry gives the same file byte for byte.
"""

import sys
import xml.etree.ElementTree as ET

REGISTRY = "/usr/share/vulkan/registry/vk.xml"
OUTPUT = "src/probe/vk_structures.cpp"

# Enums and bitmasks the pages name beside the structures' own: a surface's
# colour spaces, present modes, transforms, composite alpha and image usage,
# and the 64-bit format features.
NAMED = ["VkColorSpaceKHR", "VkCompositeAlphaFlagBitsKHR", "VkFormatFeatureFlagBits2", "VkImageUsageFlagBits",
         "VkPresentModeKHR", "VkSurfaceTransformFlagBitsKHR"]

# The core structures the Device, Limits and Features pages show, in the
# order their sections stand. A member that a structure before it holds is
# shown there only: Vulkan 1.1's and 1.2's properties repeat the ID and driver
# structures'. A member that is a structure of its own (the limits, the
# sparse properties) is left to that structure's table.
CORE = ["VkPhysicalDeviceProperties", "VkPhysicalDeviceIDProperties", "VkPhysicalDeviceDriverProperties",
        "VkPhysicalDeviceVulkan11Properties", "VkPhysicalDeviceVulkan12Properties",
        "VkPhysicalDeviceVulkan13Properties", "VkPhysicalDeviceSparseProperties", "VkPhysicalDeviceLimits",
        "VkPhysicalDeviceFeatures", "VkPhysicalDeviceVulkan11Features", "VkPhysicalDeviceVulkan12Features",
        "VkPhysicalDeviceVulkan13Features"]

# Members whose numbers mean more than their type says.
SPECIAL = {
    "VkPhysicalDeviceProperties.apiVersion": "api_version",
    "VkPhysicalDeviceProperties.driverVersion": "driver_version",
    "VkPhysicalDeviceProperties.vendorID": "vendor",
    "VkPhysicalDeviceProperties.deviceID": "device",
}

# How the plain C types read, and the types the pages word themselves
# wherever they stand ("x1 x4", "vertex, fragment").
PLAIN = {
    "VkBool32": "yes_no",
    "uint32_t": "number",
    "int32_t": "signed_number",
    "float": "real",
    "VkDeviceSize": "size",
    "uint64_t": "size",
    "size_t": "size",
    "int64_t": "signed_size",
    "VkExtent2D": "number",  # width and height, "w x h"
    "VkConformanceVersion": "conformance",
    "VkDriverId": "driver_id",
    "VkPhysicalDeviceType": "device_type",
    "VkSampleCountFlags": "sample_counts",
    "VkSampleCountFlagBits": "sample_counts",
    "VkShaderStageFlags": "shader_stages",
    "VkSubgroupFeatureFlags": "subgroup_operations",
    "VkResolveModeFlags": "resolve_modes",
    "VkPointClippingBehavior": "point_clipping",
    "VkShaderFloatControlsIndependence": "float_controls",
}


def text_of(element):
    return "".join(element.itertext()) if element is not None else ""


def extension_value(number, offset, direction):
    value = 1000000000 + (int(number) - 1) * 1000 + int(offset)
    return -value if direction == "-" else value


def main():
    registry = sys.argv[1] if len(sys.argv) > 1 else REGISTRY
    output = sys.argv[2] if len(sys.argv) > 2 else OUTPUT
    root = ET.parse(registry).getroot()
    version = ""
    for define in root.find("types").findall("type"):
        name = define.findtext("name") or ""
        if name == "VK_HEADER_VERSION":
            version = text_of(define).split()[-1]
    types = {t.get("name") or t.findtext("name"): t for t in root.find("types").findall("type")}

    # Every enumerant of every enum and bitmask, the extensions' included.
    enumerants = {}
    for enums in root.findall("enums"):
        if enums.get("type") not in ("enum", "bitmask"):
            continue  # the API's constants
        values = enumerants.setdefault(enums.get("name"), [])
        for enum in enums.findall("enum"):
            if enum.get("alias"):
                continue
            if enum.get("bitpos") is not None:
                values.append((1 << int(enum.get("bitpos")), enum.get("name")))
            elif enum.get("value") is not None:
                values.append((int(enum.get("value"), 0), enum.get("name")))

    def supported(extension):
        return ("vulkan" in (extension.get("supported") or "").split(",") and not extension.get("platform")
                and extension.get("provisional") != "true")

    # Which extension or version requires each type, and the extensions' enumerants.
    required_by = {}
    core_of = {}
    for feature in root.findall("feature"):
        if "vulkan" not in (feature.get("api") or "vulkan").split(","):
            continue
        for require in feature.findall("require"):
            for t in require.findall("type"):
                core_of.setdefault(t.get("name"), feature.get("name"))
            for enum in require.findall("enum"):
                if enum.get("extends") and not enum.get("alias"):
                    add_extension_enum(enumerants, enum, enum.get("extnumber"))
    extensions = {}
    for extension in root.find("extensions").findall("extension"):
        extensions[extension.get("name")] = extension
        for require in extension.findall("require"):
            for enum in require.findall("enum"):
                if enum.get("extends") and not enum.get("alias"):
                    add_extension_enum(enumerants, enum, enum.get("extnumber") or extension.get("number"))
            if not supported(extension) or extension.get("type") != "device":
                continue
            for t in require.findall("type"):
                required_by.setdefault(t.get("name"), extension.get("name"))

    aliases = {}
    for t in root.find("types").findall("type"):
        if t.get("category") == "struct" and t.get("alias"):
            aliases.setdefault(t.get("alias"), []).append(t.get("name"))

    structures = []
    names_used = {}
    for t in root.find("types").findall("type"):
        if t.get("category") != "struct" or t.get("alias"):
            continue
        extends = (t.get("structextends") or "").split(",")
        features = "VkPhysicalDeviceFeatures2" in extends
        if not features and "VkPhysicalDeviceProperties2" not in extends:
            continue
        name = t.get("name")
        extension = required_by.get(name)
        for alias in aliases.get(name, []):
            extension = extension or required_by.get(alias)
        if extension is None:
            continue  # a core structure alone: the core pages show it
        members, s_type = read_members(t, types, enumerants, names_used)
        # A nested structure has no table of its own here: its bytes in hexadecimal.
        members = [(member, kind or "bytes", table, shown) for member, kind, table, shown in members]
        core = core_of.get(name, "")
        promoted = extensions[extension].get("promotedto") or ""
        if not core and promoted.startswith("VK_VERSION_"):
            core = promoted
        # Shown under a core structure only where that structure holds every
        # member: Vulkan 1.3 made some promoted features mandatory and left
        # others (extendedDynamicState2LogicOp, formatA4R4G4B4) out of it.
        # The 1.1 structure arrives with Vulkan 1.2.
        if core:
            minor = core.rsplit("_", 1)[1]
            kind = "Features" if features else "Properties"
            aggregate = members_of(types.get(f"VkPhysicalDeviceVulkan1{minor}{kind}"))
            if not aggregate or any(member[0] not in aggregate for member in members):
                core = ""
            elif minor == "1":
                core = "VK_VERSION_1_2"
        structures.append((name, s_type, features, extension, core, members))

    core_structures = []
    shown = set()
    for name in CORE:
        members, _ = read_members(types[name], types, enumerants, names_used)
        members = [m for m in members if m[1] is not None and m[0] not in shown]
        shown.update(m[0] for m in members)
        core_structures.append((name, members))

    for table in NAMED:
        names_used[table] = enumerants[table]
    # By name, so that a structure is found where a reader looks for it.
    structures.sort(key=lambda structure: structure[0])
    write(output, version, structures, core_structures, names_used)


def read_members(definition, types, enumerants, names_used):
    """The members of a structure but its sType and pNext, each as (name,
    kind, table of names, C type), and its sType. A member that is a
    structure of its own reads as None."""
    members = []
    s_type = ""
    name = definition.get("name")
    for member in definition.findall("member"):
        member_name = member.findtext("name")
        member_type = member.findtext("type")
        if member_name == "sType":
            s_type = member.get("values")
            continue
        if member_name == "pNext":
            continue
        whole = text_of(member)
        array = "[" in whole
        length = member.findtext("enum") or (whole.split("[")[1].split("]")[0] if array else "")
        kind, table = kind_of(member_type, array, length, types, enumerants)
        kind = SPECIAL.get(f"{name}.{member_name}", kind)
        if table and enumerants.get(table):
            names_used[table] = enumerants[table]
        else:
            table = None
        shown_type = member_type + (f"[{length}]" if array else "")
        members.append((member_name, kind, table, shown_type))
    return members, s_type


def members_of(definition):
    if definition is None:
        return set()
    return {member.findtext("name") for member in definition.findall("member")}


def add_extension_enum(enumerants, enum, number):
    values = enumerants.setdefault(enum.get("extends"), [])
    if enum.get("bitpos") is not None:
        value = 1 << int(enum.get("bitpos"))
    elif enum.get("value") is not None:
        value = int(enum.get("value"), 0)
    elif enum.get("offset") is not None:
        value = extension_value(number, enum.get("offset"), enum.get("dir"))
    else:
        return
    if (value, enum.get("name")) not in values:
        values.append((value, enum.get("name")))


def kind_of(member_type, array, length, types, enumerants):
    if array and member_type == "char":
        return "text", None
    if array and member_type == "uint8_t":
        return {"VK_UUID_SIZE": "uuid", "VK_LUID_SIZE": "luid"}.get(length, "bytes"), None
    if member_type in PLAIN:
        return PLAIN[member_type], None
    definition = types.get(member_type)
    category = definition.get("category") if definition is not None else None
    if category == "bitmask":
        bits = definition.get("requires") or definition.get("bitvalues")
        return "flags", bits if bits in enumerants else None
    if category == "struct":
        return None, None  # a structure of its own
    if category == "enum":
        return ("flags" if member_type.endswith("FlagBits") or "FlagBits" in member_type else "enumerated"), \
            member_type
    return "bytes", None


VENDORS = ("KHR", "EXT", "NV", "NVX", "AMD", "INTEL", "ARM", "QCOM", "HUAWEI", "VALVE", "GOOGLE", "MESA",
           "SEC", "FB", "IMG", "MVK", "NN", "GGP", "QNX", "ANDROID", "LUNARG", "BRCM", "MSFT")


def snake(words):
    out = ""
    for i, c in enumerate(words):
        if c.isupper() and i > 0 and (words[i - 1].islower() or words[i - 1].isdigit()):
            out += "_"
        out += c.upper()
    return out


def prefix_of(table):
    """What every enumerant's name of a table starts with: the table's name
    in capitals, without Vk, FlagBits and its vendor."""
    name = table[2:]
    vendor = ""
    for tag in VENDORS:
        if name.endswith(tag):
            vendor, name = tag, name[: -len(tag)]
            break
    if name.endswith("FlagBits2"):  # the 64-bit bitmasks: VK_FORMAT_FEATURE_2_...
        return "VK_" + snake(name[: -len("FlagBits2")]) + "_2_", vendor
    name = name.replace("FlagBits", "")
    return "VK_" + snake(name) + "_", vendor


def short_name(name, prefix, vendor):
    if name.startswith(prefix):
        name = name[len(prefix):]
    elif name.startswith("VK_"):
        name = name[3:]
    for suffix in ("_BIT_" + vendor, "_" + vendor, "_BIT") if vendor else ("_BIT",):
        if name.endswith(suffix) and len(name) > len(suffix):
            return name[: -len(suffix)]
    # A bit another vendor's extension added keeps that vendor: "TASK_EXT".
    for tag in VENDORS:
        if name.endswith("_BIT_" + tag):
            return name[: -len("_BIT_" + tag)] + "_" + tag
    return name


def write_fields(lines, name, members, symbol):
    lines.append(f"constexpr vk_field {symbol}[] = {{")
    for member_name, kind, table, shown_type in members:
        names = f"{table}_names" if table else "{}"
        lines.append(
            f'    {{"{member_name}", {kind}, static_cast<uint32_t>(offsetof({name}, {member_name})), '
            f'static_cast<uint32_t>(sizeof({name}::{member_name})), "{shown_type}", {names}}},')
    lines.append("};")


def write(output, version, structures, core_structures, names_used):
    lines = [
        f"// Generated by tools/gen_vk_structures.py from the Vulkan registry, header version {version}.",
        "// Do not edit: run the generator on the registry instead.",
        '#include "probe/vk_structures.h"',
        "",
        "#include <vulkan/vulkan_core.h>",
        "",
        "#include <cstddef>",
        "#include <iterator>",
        "#include <string_view>",
        "",
        "namespace {",
        "",
        "using enum vk_kind;",
        "",
    ]
    for table in sorted(names_used):
        values = sorted(set(names_used[table]), key=lambda v: (v[0] < 0, abs(v[0]), v[1]))
        prefix, vendor = prefix_of(table)
        entries = ", ".join(f'{{{value}, "{short_name(name, prefix, vendor)}"}}' for value, name in values
                            if not name.endswith("_MAX_ENUM"))
        lines.append(f"constexpr vk_name {table}_names[] = {{{entries}}};")
    lines.append("")
    for name, members in core_structures:
        write_fields(lines, name, members, f"core_{name}_fields")
    for name, _, _, _, _, members in structures:
        write_fields(lines, name, members, f"{name}_fields")
    lines += ["", "}  // namespace", "", "const vk_extension_structure vk_extension_structures_table[] = {"]
    for name, s_type, features, extension, core, members in structures:
        version_number = "0"
        if core:
            major, minor = core.replace("VK_VERSION_", "").split("_")
            version_number = f"VK_MAKE_API_VERSION(0, {major}, {minor}, 0)"
        lines.append(
            f'    {{"{name}", {s_type}, {"true" if features else "false"}, "{extension}", {version_number}, '
            f"sizeof({name}), {name}_fields}},")
    lines += ["};", "",
              "const size_t vk_extension_structure_count = std::size(vk_extension_structures_table);", "",
              "std::span<const vk_field> vk_core_fields(std::string_view structure) {",
              "    static constexpr struct {",
              "        std::string_view name;",
              "        std::span<const vk_field> fields;",
              "    } core[] = {"]
    for name, _ in core_structures:
        lines.append(f'        {{"{name}", core_{name}_fields}},')
    lines += ["    };",
              "    for (const auto& one : core) {",
              "        if (one.name == structure) {",
              "            return one.fields;",
              "        }",
              "    }",
              "    return {};",
              "}", "",
              "std::span<const vk_name> vk_enum_names(std::string_view type) {",
              "    static constexpr struct {",
              "        std::string_view type;",
              "        std::span<const vk_name> names;",
              "    } named[] = {"]
    for table in NAMED:
        lines.append(f'        {{"{table}", {table}_names}},')
    lines += ["    };",
              "    for (const auto& one : named) {",
              "        if (one.type == type) {",
              "            return one.names;",
              "        }",
              "    }",
              "    return {};",
              "}", ""]
    with open(output, "w", encoding="utf-8", newline="\n") as out:
        out.write("\n".join(lines))


if __name__ == "__main__":
    main()
