// The Vulkan probe: an instance of its own, every physical device read
// structure by structure, and the surfaces each can present to.
#include "probe/vk_probe.h"
#include "probe/vk_structures.h"
#include "probe/vk_surfaces.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <string>

#include "refdata/format_names.h"

namespace {

// The structures' own name fields, as text: up to the first NUL, or all of it.
template <size_t N>
std::string field_text(const char (&chars)[N]) {
    return std::string(chars, strnlen(chars, N));
}

// The instance-level entry points the probe calls.
struct vk_functions {
    PFN_vkDestroyInstance destroy_instance = nullptr;
    PFN_vkEnumeratePhysicalDevices enumerate_devices = nullptr;
    PFN_vkGetPhysicalDeviceProperties properties = nullptr;
    PFN_vkGetPhysicalDeviceProperties2 properties2 = nullptr;  // 1.1 instances
    PFN_vkGetPhysicalDeviceFeatures features = nullptr;
    PFN_vkGetPhysicalDeviceFeatures2 features2 = nullptr;  // 1.1 instances
    PFN_vkEnumerateDeviceExtensionProperties device_extensions = nullptr;
    PFN_vkGetPhysicalDeviceMemoryProperties memory = nullptr;
    PFN_vkGetPhysicalDeviceQueueFamilyProperties queue_families = nullptr;
    PFN_vkGetPhysicalDeviceFormatProperties format_properties = nullptr;
    PFN_vkGetPhysicalDeviceFormatProperties2 format_properties2 = nullptr;  // 1.1 instances
    // VK_KHR_surface and the platform's window surface, where the instance
    // has them.
    bool surfaces = false;
    PFN_vkDestroySurfaceKHR destroy_surface = nullptr;
    PFN_vkGetPhysicalDeviceSurfaceSupportKHR surface_support = nullptr;
    PFN_vkGetPhysicalDeviceSurfaceCapabilitiesKHR surface_capabilities = nullptr;
    PFN_vkGetPhysicalDeviceSurfaceFormatsKHR surface_formats = nullptr;
    PFN_vkGetPhysicalDeviceSurfacePresentModesKHR present_modes = nullptr;
};

template <typename F>
F entry(PFN_vkGetInstanceProcAddr get, VkInstance instance, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(get(instance, name)));
}

// Calls a Vulkan "count, then fill" function until the list stands still.
template <typename T, typename Call>
std::vector<T> listed(Call call) {
    std::vector<T> items;
    for (int attempt = 0; attempt < 4; ++attempt) {
        uint32_t count = 0;
        if (call(&count, static_cast<T*>(nullptr)) != VK_SUCCESS) {
            return {};
        }
        items.assign(count, T{});
        const VkResult result = call(&count, items.data());
        if (result == VK_SUCCESS) {
            items.resize(std::min<size_t>(count, items.size()));
            return items;
        }
        if (result != VK_INCOMPLETE) {
            return {};
        }
    }
    return items;
}

std::vector<vk_extension> extensions_of(const std::vector<VkExtensionProperties>& listed_extensions) {
    std::vector<vk_extension> extensions;
    for (const VkExtensionProperties& extension : listed_extensions) {
        extensions.push_back({field_text(extension.extensionName), extension.specVersion});
    }
    return extensions;
}

// The chained structures of a device, read where both the instance and the
// device have the version that defines them.
void read_chains(const vk_functions& vk, VkPhysicalDevice device, uint32_t instance_version,
                 vk_device_record& record) {
    const uint32_t version = std::min(instance_version, record.properties.apiVersion);
    if (vk.properties2 == nullptr || vk.features2 == nullptr || version < VK_API_VERSION_1_1) {
        return;
    }
    record.has_id = true;
    record.has_driver = record.has_vulkan11 = record.has_vulkan12 = version >= VK_API_VERSION_1_2;
    record.has_vulkan13 = version >= VK_API_VERSION_1_3;

    VkPhysicalDeviceProperties2 properties{};
    properties.sType = VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_PROPERTIES_2;
    VkPhysicalDeviceFeatures2 features{};
    features.sType = VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_FEATURES_2;
    record.id.sType = VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_ID_PROPERTIES;
    record.driver.sType = VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_DRIVER_PROPERTIES;
    record.vulkan11.sType = VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_1_PROPERTIES;
    record.vulkan12.sType = VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_2_PROPERTIES;
    record.vulkan13.sType = VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_3_PROPERTIES;
    record.features11.sType = VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_1_FEATURES;
    record.features12.sType = VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_2_FEATURES;
    record.features13.sType = VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_3_FEATURES;
    // Each structure goes in front of the chain where the version has it.
    const auto chain = [](auto& head, auto& link, bool present) {
        if (present) {
            link.pNext = head.pNext;
            head.pNext = &link;
        }
    };
    chain(properties, record.id, record.has_id);
    chain(properties, record.driver, record.has_driver);
    chain(properties, record.vulkan11, record.has_vulkan11);
    chain(properties, record.vulkan12, record.has_vulkan12);
    chain(properties, record.vulkan13, record.has_vulkan13);
    chain(features, record.features11, record.has_vulkan11);
    chain(features, record.features12, record.has_vulkan12);
    chain(features, record.features13, record.has_vulkan13);
    vk.properties2(device, &properties);
    vk.features2(device, &features);
    record.properties = properties.properties;
    record.features = features.features;
    // The chain pointed into locals and into the record itself.
    record.id.pNext = record.driver.pNext = record.vulkan11.pNext = record.vulkan12.pNext =
        record.vulkan13.pNext = nullptr;
    record.features11.pNext = record.features12.pNext = record.features13.pNext = nullptr;
}

// Every structure of the device's extensions, each asked alone, so that one a
// driver answers wrongly cannot spoil the rest; none a core structure of
// the device's version shows already. The reasons: the structures answered
// with another.
std::vector<reason> read_extension_structures(const vk_functions& vk, VkPhysicalDevice device,
                                              uint32_t instance_version, vk_device_record& record) {
    std::vector<reason> reasons;
    const uint32_t version = std::min(instance_version, record.properties.apiVersion);
    if (vk.properties2 == nullptr || vk.features2 == nullptr || version < VK_API_VERSION_1_1) {
        return reasons;
    }
    const auto structures = vk_extension_structures();
    for (uint32_t i = 0; i < structures.size(); ++i) {
        const vk_extension_structure& structure = structures[i];
        const bool listed = std::any_of(record.extensions.begin(), record.extensions.end(),
                                        [&](const vk_extension& e) { return e.name == structure.extension; });
        const bool in_core = structure.core_version != 0 && version >= structure.core_version;
        if (!listed || in_core) {
            continue;
        }
        vk_structure_answer& answer = record.extension_structures.emplace_back();
        answer.structure = i;
        answer.bytes.assign(structure.size, std::byte{0});
        auto* head = reinterpret_cast<VkBaseOutStructure*>(answer.bytes.data());
        head->sType = static_cast<VkStructureType>(structure.s_type);
        if (structure.features) {
            VkPhysicalDeviceFeatures2 features{};
            features.sType = VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_FEATURES_2;
            features.pNext = head;
            vk.features2(device, &features);
        } else {
            VkPhysicalDeviceProperties2 properties{};
            properties.sType = VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_PROPERTIES_2;
            properties.pNext = head;
            vk.properties2(device, &properties);
        }
        // A driver that writes another structure over it has not answered it.
        if (head->sType != static_cast<VkStructureType>(structure.s_type)) {
            reasons.push_back(
                {"Vulkan", -1,
                 structure.features ? "vkGetPhysicalDeviceFeatures2" : "vkGetPhysicalDeviceProperties2",
                 std::string(record.properties.deviceName) + " answered " + structure.name +
                     " with another structure",
                 std::to_string(static_cast<int>(head->sType))});
            record.extension_structures.pop_back();
            continue;
        }
        head->pNext = nullptr;
    }
    return reasons;
}

// What every device can present to each of the platform's windows.
void read_surfaces(const vk_functions& vk, const vk_window_surfaces& windows, VkPhysicalDevice device,
                   vk_device_record& record) {
    for (const vk_window_surfaces::window& one : windows.windows()) {
        vk_surface_record& surface = record.surfaces.emplace_back();
        surface.monitor = one.monitor;
        surface.device_name = one.device_name;
        surface.failure = one.failure;
        if (one.surface == VK_NULL_HANDLE) {
            continue;
        }
        for (uint32_t family = 0; family < record.queue_families.size(); ++family) {
            VkBool32 supported = VK_FALSE;
            vk.surface_support(device, family, one.surface, &supported);
            surface.present_families.push_back(supported != VK_FALSE);
        }
        if (const VkResult result = vk.surface_capabilities(device, one.surface, &surface.capabilities);
            result != VK_SUCCESS) {
            surface.failure =
                "vkGetPhysicalDeviceSurfaceCapabilitiesKHR failed (" + vk_result_text(result) + ")";
            continue;
        }
        surface.formats = listed<VkSurfaceFormatKHR>([&](uint32_t* count, VkSurfaceFormatKHR* out) {
            return vk.surface_formats(device, one.surface, count, out);
        });
        surface.present_modes = listed<VkPresentModeKHR>([&](uint32_t* count, VkPresentModeKHR* out) {
            return vk.present_modes(device, one.surface, count, out);
        });
    }
}

// One device's record, and the reasons for what of it could not be read.
struct device_read {
    vk_device_record record;
    std::vector<reason> reasons;
};

device_read read_device(const vk_functions& vk, VkPhysicalDevice device, uint32_t instance_version) {
    device_read read;
    vk_device_record& record = read.record;
    vk.properties(device, &record.properties);
    vk.features(device, &record.features);
    read_chains(vk, device, instance_version, record);
    record.extensions = extensions_of(listed<VkExtensionProperties>(
        [&](uint32_t* count, auto* out) { return vk.device_extensions(device, nullptr, count, out); }));
    vk.memory(device, &record.memory);
    uint32_t families = 0;
    vk.queue_families(device, &families, nullptr);
    record.queue_families.resize(families);
    vk.queue_families(device, &families, record.queue_families.data());
    record.queue_families.resize(std::min<size_t>(families, record.queue_families.size()));
    read.reasons = read_extension_structures(vk, device, instance_version, record);
    const uint32_t version = std::min(instance_version, record.properties.apiVersion);
    const bool flags2 =
        vk.format_properties2 != nullptr && version >= VK_API_VERSION_1_1 &&
        (version >= VK_API_VERSION_1_3 ||
         std::any_of(record.extensions.begin(), record.extensions.end(), [](const vk_extension& e) {
             return e.name == VK_KHR_FORMAT_FEATURE_FLAGS_2_EXTENSION_NAME;
         }));
    for (const vk_format_entry& format : vk_core_formats()) {
        vk_format_support& support = record.formats.emplace_back();
        support.format = format.value;
        if (!flags2) {
            vk.format_properties(device, static_cast<VkFormat>(format.value), &support.properties);
            continue;
        }
        support.has_properties3 = true;
        support.properties3.sType = VK_STRUCTURE_TYPE_FORMAT_PROPERTIES_3;
        VkFormatProperties2 both{};
        both.sType = VK_STRUCTURE_TYPE_FORMAT_PROPERTIES_2;
        both.pNext = &support.properties3;
        vk.format_properties2(device, static_cast<VkFormat>(format.value), &both);
        support.properties = both.formatProperties;
        support.properties3.pNext = nullptr;
    }
    return read;
}

// One capture: the instance, destroyed whatever happens after it was made.
class vk_capture {
public:
    vk_capture(PFN_vkGetInstanceProcAddr get, vk_probe& probe, const std::function<bool()>& windows_free)
        : get_(get), probe_(probe), windows_free_(windows_free) {}
    ~vk_capture() {
        if (instance_ != VK_NULL_HANDLE && vk_.destroy_instance != nullptr) {
            vk_.destroy_instance(instance_, nullptr);
        }
    }
    vk_capture(const vk_capture&) = delete;
    vk_capture& operator=(const vk_capture&) = delete;

    void run();

private:
    void fail(const std::string& what, const char* call = "", std::string status = {}) {
        probe_.reasons.push_back({"Vulkan", -1, call, what, std::move(status)});
    }

    PFN_vkGetInstanceProcAddr get_;
    vk_probe& probe_;
    const std::function<bool()>& windows_free_;
    VkInstance instance_ = VK_NULL_HANDLE;
    vk_functions vk_;
};

void vk_capture::run() {
    // Without vkEnumerateInstanceVersion the loader is of Vulkan 1.0.
    uint32_t version = VK_API_VERSION_1_0;
    if (const auto enumerate_version =
            entry<PFN_vkEnumerateInstanceVersion>(get_, VK_NULL_HANDLE, "vkEnumerateInstanceVersion")) {
        if (enumerate_version(&version) != VK_SUCCESS) {
            version = VK_API_VERSION_1_0;
        }
    }
    vk_instance_record& instance = probe_.instance;
    instance.api_version = version;
    if (const auto list = entry<PFN_vkEnumerateInstanceExtensionProperties>(
            get_, VK_NULL_HANDLE, "vkEnumerateInstanceExtensionProperties")) {
        instance.extensions = extensions_of(listed<VkExtensionProperties>(
            [&](uint32_t* count, auto* out) { return list(nullptr, count, out); }));
    }
    if (const auto list = entry<PFN_vkEnumerateInstanceLayerProperties>(
            get_, VK_NULL_HANDLE, "vkEnumerateInstanceLayerProperties")) {
        for (const VkLayerProperties& layer : listed<VkLayerProperties>(list)) {
            instance.layers.push_back({field_text(layer.layerName), layer.specVersion,
                                       layer.implementationVersion, field_text(layer.description)});
        }
    }
    const auto create = entry<PFN_vkCreateInstance>(get_, VK_NULL_HANDLE, "vkCreateInstance");
    if (create == nullptr) {
        fail("the loader has no vkCreateInstance", "vkCreateInstance");
        return;
    }
    VkApplicationInfo application{};
    application.sType = VK_STRUCTURE_TYPE_APPLICATION_INFO;
    application.pApplicationName = "Cavio";
    application.apiVersion = version;
    VkInstanceCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_INSTANCE_CREATE_INFO;
    info.pApplicationInfo = &application;
    // The surfaces of windows, where the loader offers them.
    std::vector<const char*> enabled;
    const auto offered = [&](const char* name) {
        return std::any_of(instance.extensions.begin(), instance.extensions.end(),
                           [&](const vk_extension& e) { return e.name == name; });
    };
    if (offered(VK_KHR_SURFACE_EXTENSION_NAME) && offered(vk_window_surfaces::extension_name())) {
        enabled = {VK_KHR_SURFACE_EXTENSION_NAME, vk_window_surfaces::extension_name()};
    }
    info.enabledExtensionCount = static_cast<uint32_t>(enabled.size());
    info.ppEnabledExtensionNames = enabled.data();
    if (const VkResult result = create(&info, nullptr, &instance_); result != VK_SUCCESS) {
        instance_ = VK_NULL_HANDLE;
        fail("vkCreateInstance failed", "vkCreateInstance", vk_result_text(result));
        return;
    }
    vk_.destroy_instance = entry<PFN_vkDestroyInstance>(get_, instance_, "vkDestroyInstance");
    vk_.enumerate_devices =
        entry<PFN_vkEnumeratePhysicalDevices>(get_, instance_, "vkEnumeratePhysicalDevices");
    vk_.properties =
        entry<PFN_vkGetPhysicalDeviceProperties>(get_, instance_, "vkGetPhysicalDeviceProperties");
    vk_.features = entry<PFN_vkGetPhysicalDeviceFeatures>(get_, instance_, "vkGetPhysicalDeviceFeatures");
    vk_.device_extensions = entry<PFN_vkEnumerateDeviceExtensionProperties>(
        get_, instance_, "vkEnumerateDeviceExtensionProperties");
    vk_.memory = entry<PFN_vkGetPhysicalDeviceMemoryProperties>(get_, instance_,
                                                                "vkGetPhysicalDeviceMemoryProperties");
    vk_.queue_families = entry<PFN_vkGetPhysicalDeviceQueueFamilyProperties>(
        get_, instance_, "vkGetPhysicalDeviceQueueFamilyProperties");
    vk_.format_properties = entry<PFN_vkGetPhysicalDeviceFormatProperties>(
        get_, instance_, "vkGetPhysicalDeviceFormatProperties");
    if (version >= VK_API_VERSION_1_1) {
        vk_.properties2 =
            entry<PFN_vkGetPhysicalDeviceProperties2>(get_, instance_, "vkGetPhysicalDeviceProperties2");
        vk_.features2 =
            entry<PFN_vkGetPhysicalDeviceFeatures2>(get_, instance_, "vkGetPhysicalDeviceFeatures2");
        vk_.format_properties2 = entry<PFN_vkGetPhysicalDeviceFormatProperties2>(
            get_, instance_, "vkGetPhysicalDeviceFormatProperties2");
    }
    if (!enabled.empty()) {
        vk_.surfaces = true;
        vk_.destroy_surface = entry<PFN_vkDestroySurfaceKHR>(get_, instance_, "vkDestroySurfaceKHR");
        vk_.surface_support = entry<PFN_vkGetPhysicalDeviceSurfaceSupportKHR>(
            get_, instance_, "vkGetPhysicalDeviceSurfaceSupportKHR");
        vk_.surface_capabilities = entry<PFN_vkGetPhysicalDeviceSurfaceCapabilitiesKHR>(
            get_, instance_, "vkGetPhysicalDeviceSurfaceCapabilitiesKHR");
        vk_.surface_formats = entry<PFN_vkGetPhysicalDeviceSurfaceFormatsKHR>(
            get_, instance_, "vkGetPhysicalDeviceSurfaceFormatsKHR");
        vk_.present_modes = entry<PFN_vkGetPhysicalDeviceSurfacePresentModesKHR>(
            get_, instance_, "vkGetPhysicalDeviceSurfacePresentModesKHR");
        if (vk_.destroy_surface == nullptr || vk_.surface_support == nullptr ||
            vk_.surface_capabilities == nullptr || vk_.surface_formats == nullptr ||
            vk_.present_modes == nullptr) {
            vk_.surfaces = false;  // not all of it: no surfaces
        }
    }
    if (vk_.enumerate_devices == nullptr || vk_.properties == nullptr || vk_.features == nullptr ||
        vk_.device_extensions == nullptr || vk_.memory == nullptr || vk_.queue_families == nullptr ||
        vk_.format_properties == nullptr) {
        fail("the instance lacks an entry point of Vulkan 1.0");
        return;
    }
    const std::vector<VkPhysicalDevice> devices = listed<VkPhysicalDevice>(
        [&](uint32_t* count, VkPhysicalDevice* out) { return vk_.enumerate_devices(instance_, count, out); });
    if (devices.empty()) {
        fail("no physical device", "vkEnumeratePhysicalDevices");
        return;
    }
    for (VkPhysicalDevice device : devices) {
        device_read read = read_device(vk_, device, version);
        probe_.devices.push_back(std::move(read.record));
        append(probe_.reasons, std::move(read.reasons));
    }
    // The surfaces last, once no other probe makes windows.
    if (!vk_.surfaces) {
        return;
    }
    if (windows_free_ && !windows_free_()) {
        fail("no surface was read: another probe still made windows", vk_window_surfaces::create_function());
        return;
    }
    const vk_window_surfaces windows(get_, instance_, vk_.destroy_surface);
    for (size_t i = 0; i < devices.size(); ++i) {
        read_surfaces(vk_, windows, devices[i], probe_.devices[i]);
    }
}

}  // namespace

vk_probe::vk_probe(const vk_loader& loader, const std::function<bool()>& windows_free) {
    const PFN_vkGetInstanceProcAddr get = loader ? loader() : nullptr;
    if (get == nullptr) {
        reasons.push_back({"Vulkan",
                           -1,
                           "vkGetInstanceProcAddr",
                           std::string(vk_loader_library) + " or its vkGetInstanceProcAddr is missing",
                           {}});
        return;
    }
    try {
        vk_capture(get, *this, windows_free).run();
    } catch (const std::exception& error) {
        // Out of memory, or a driver's answer too large to hold: the
        // probe's edge, where it becomes a reason.
        devices.clear();
        reasons.push_back({"Vulkan", -1, {}, error.what(), {}});
    }
}

std::string vk_result_text(VkResult result) {
    switch (result) {
        case VK_SUCCESS:
            return "VK_SUCCESS";
        case VK_INCOMPLETE:
            return "VK_INCOMPLETE";
        case VK_ERROR_OUT_OF_HOST_MEMORY:
            return "VK_ERROR_OUT_OF_HOST_MEMORY";
        case VK_ERROR_OUT_OF_DEVICE_MEMORY:
            return "VK_ERROR_OUT_OF_DEVICE_MEMORY";
        case VK_ERROR_INITIALIZATION_FAILED:
            return "VK_ERROR_INITIALIZATION_FAILED";
        case VK_ERROR_LAYER_NOT_PRESENT:
            return "VK_ERROR_LAYER_NOT_PRESENT";
        case VK_ERROR_EXTENSION_NOT_PRESENT:
            return "VK_ERROR_EXTENSION_NOT_PRESENT";
        case VK_ERROR_INCOMPATIBLE_DRIVER:
            return "VK_ERROR_INCOMPATIBLE_DRIVER";
        default:
            return std::to_string(static_cast<int>(result));
    }
}
