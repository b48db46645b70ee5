// An in-memory registry with the behaviour of the Reg*A calls that the
// settings store and the Startup check box rely on: HKEY_LOCAL_MACHINE and
// HKEY_CURRENT_USER, case-insensitive key paths and value names,
// every level created on create, kinds and byte counts kept as written,
// ERROR_MORE_DATA with the needed size, access checked per handle, keys an
// account may read but not write, and a count of handles still open. Every
// call is logged so tests can check what was written and in which order.
// Header-only: the fuzz targets use it too.
#pragma once

#include <cctype>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/registry.h"

namespace mivra {

class FakeRegistry final : public RegistryApi {
public:
    struct Value {
        std::uint32_t kind = 0;
        std::vector<std::uint8_t> data;
    };

    enum class Op { Create, Open, Query, Set, Close, Delete };

    struct Call {
        Op op{};
        std::string path; // the key's full path, e.g. "HKLM\SOFTWARE\Mivra"
        std::string name; // value name for Query, Set and Delete
        std::uint32_t access = 0;
        std::uint32_t kind = 0;
        std::vector<std::uint8_t> data;
        std::uint32_t size = 0; // byte count passed to Set, buffer size passed to Query
        bool withBuffer = false;
        RegStatus status = kErrorSuccess;
    };

    static constexpr RegStatus kErrorBadPathname = 161;
    static constexpr RegStatus kErrorNoAccess = 998;
    static constexpr std::uint32_t kCreatedNewKey = 1, kOpenedExistingKey = 2;
    static constexpr std::uint32_t kWriteRights =
        0x0002 | 0x0004 | 0x0020 | 0x00010000 | 0x00040000 | 0x00080000;

    // Setting up, without logging. Paths are under HKEY_LOCAL_MACHINE, or
    // under HKEY_CURRENT_USER when they start with "HKCU\".
    void AddKey(std::string_view path) { EnsureKey(Full(path)); }
    void PutValue(std::string_view path, std::string_view name, std::uint32_t kind,
                  std::vector<std::uint8_t> data) {
        Key& key = EnsureKey(Full(path));
        key.values[Lower(name)] = Value{kind, std::move(data)};
    }
    void PutText(std::string_view path, std::string_view name, std::string_view text) {
        PutValue(path, name, kRegSz, std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    void PutDword(std::string_view path, std::string_view name, std::uint32_t n) {
        PutValue(
            path, name, kRegDword,
            {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)});
    }
    // The account may read this key but not write it or create keys below it.
    void ProtectKey(std::string_view path) { EnsureKey(Full(path)).writeProtected = true; }

    bool HasKey(std::string_view path) const { return keys_.count(Lower(Full(path))) > 0; }
    std::optional<Value> Find(std::string_view path, std::string_view name) const {
        const auto key = keys_.find(Lower(Full(path)));
        if (key == keys_.end()) return std::nullopt;
        const auto value = key->second.values.find(Lower(name));
        if (value == key->second.values.end()) return std::nullopt;
        return value->second;
    }

    // A value's bytes as text, "<missing>" when there is none.
    std::string TextOf(std::string_view path, std::string_view name) const {
        const auto v = Find(path, name);
        return v ? std::string(v->data.begin(), v->data.end()) : "<missing>";
    }

    int OpenHandles() const { return static_cast<int>(handles_.size()); }
    const std::vector<Call>& Calls() const { return calls_; }
    std::vector<Call> CallsOf(Op op) const {
        std::vector<Call> out;
        for (const Call& c : calls_)
            if (c.op == op) out.push_back(c);
        return out;
    }
    void ClearLog() { calls_.clear(); }

    // Added to the size a REG_SZ query without a buffer reports, as the ANSI
    // call may over-estimate before converting.
    std::uint32_t sizeProbeSlack = 0;
    // Runs before each query is answered; lets a test change a value between
    // the two queries of one read.
    std::function<void()> beforeQuery;

    RegStatus CreateKeyEx(RegKey root, const char* subKey, std::uint32_t /*options*/,
                          std::uint32_t access, RegKey* result,
                          std::uint32_t* disposition) override {
        *result = 0;
        Call call{.op = Op::Create, .access = access};
        return Log(call, DoOpen(root, subKey, access, true, result, disposition, call.path));
    }

    RegStatus OpenKeyEx(RegKey root, const char* subKey, std::uint32_t /*options*/,
                        std::uint32_t access, RegKey* result) override {
        *result = 0;
        Call call{.op = Op::Open, .access = access};
        return Log(call, DoOpen(root, subKey, access, false, result, nullptr, call.path));
    }

    RegStatus QueryValueEx(RegKey key, const char* name, std::uint32_t* kind, std::uint8_t* data,
                           std::uint32_t* size) override {
        if (beforeQuery) beforeQuery();
        Call call{.op = Op::Query,
                  .name = name ? name : "",
                  .size = size ? *size : 0,
                  .withBuffer = data != nullptr};
        return Log(call, DoQuery(key, call.name, kind, data, size, call.path));
    }

    RegStatus SetValueEx(RegKey key, const char* name, std::uint32_t kind, const std::uint8_t* data,
                         std::uint32_t size) override {
        Call call{.op = Op::Set, .name = name ? name : "", .kind = kind, .size = size};
        if (data) call.data.assign(data, data + size);
        return Log(call, DoSet(key, call.name, kind, data, size, call.path));
    }

    RegStatus DeleteValue(RegKey key, const char* name) override {
        Call call{.op = Op::Delete, .name = name ? name : ""};
        return Log(call, DoDelete(key, call.name, call.path));
    }

    RegStatus CloseKey(RegKey key) override {
        Call call{.op = Op::Close};
        const auto handle = handles_.find(key);
        if (handle == handles_.end())
            return Log(call, key == kHkeyLocalMachine || key == kHkeyCurrentUser
                                 ? kErrorSuccess
                                 : kErrorInvalidHandle);
        call.path = handle->second.path;
        handles_.erase(handle);
        return Log(call, kErrorSuccess);
    }

private:
    struct Key {
        std::string path; // as first spelled
        bool writeProtected = false;
        std::map<std::string, Value> values; // by lower-case name
    };
    struct Handle {
        std::string path;
        std::uint32_t access = 0;
    };

    static std::string Lower(std::string_view s) {
        std::string out(s);
        for (char& c : out)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return out;
    }
    static std::string Join(std::string_view base, std::string_view sub) {
        std::string out(base);
        if (!sub.empty()) out.append("\\").append(sub);
        return out;
    }
    static std::string Full(std::string_view path) {
        return path.starts_with("HKCU\\") ? std::string(path) : Join("HKLM", path);
    }

    Key& EnsureKey(const std::string& path) {
        std::string sofar;
        for (std::string_view rest = path;;) {
            const auto cut = rest.find('\\');
            sofar.append(sofar.empty() ? "" : "\\").append(rest.substr(0, cut));
            Key& key = keys_[Lower(sofar)];
            if (key.path.empty()) key.path = sofar;
            if (cut == std::string_view::npos) return key;
            rest = rest.substr(cut + 1);
        }
    }

    // The full path named by a root or open handle and a sub-key, or an error.
    RegStatus Resolve(RegKey root, const char* subKey, std::string& path) const {
        if (root == kHkeyLocalMachine) {
            path = "HKLM";
        } else if (root == kHkeyCurrentUser) {
            path = "HKCU";
        } else {
            const auto handle = handles_.find(root);
            if (handle == handles_.end()) return kErrorInvalidHandle;
            path = handle->second.path;
        }
        const std::string_view sub = subKey ? subKey : "";
        if (sub.empty()) return kErrorSuccess;
        if (sub.front() == '\\' || sub.back() == '\\' || sub.find("\\\\") != sub.npos)
            return kErrorBadPathname;
        path = Join(path, sub);
        return kErrorSuccess;
    }

    // The key an open handle names, if it was opened with `right`.
    RegStatus Opened(RegKey handle, std::uint32_t right, std::string& path) const {
        const auto open = handles_.find(handle);
        if (open == handles_.end()) return kErrorInvalidHandle;
        path = open->second.path;
        return open->second.access & right ? kErrorSuccess : kErrorAccessDenied;
    }

    RegKey NewHandle(const std::string& path, std::uint32_t access) {
        nextHandle_ += 4;
        handles_[nextHandle_] = Handle{path, access};
        return nextHandle_;
    }

    // Opens the key, or with `create` makes it and every level it needs.
    RegStatus DoOpen(RegKey root, const char* subKey, std::uint32_t access, bool create,
                     RegKey* result, std::uint32_t* disposition, std::string& path) {
        if (const RegStatus s = Resolve(root, subKey, path); s != kErrorSuccess) return s;
        const auto existing = keys_.find(Lower(path));
        const bool made = existing == keys_.end();
        if (made && !create) return kErrorFileNotFound;
        if (!made && existing->second.writeProtected && (access & kWriteRights))
            return kErrorAccessDenied;
        // The deepest existing level must let us create below it.
        for (std::string up = path; made && up.find('\\') != std::string::npos;) {
            up.erase(up.rfind('\\'));
            const auto parent = keys_.find(Lower(up));
            if (parent == keys_.end()) continue;
            if (parent->second.writeProtected) return kErrorAccessDenied;
            break;
        }
        path = made ? EnsureKey(path).path : existing->second.path;
        if (disposition) *disposition = made ? kCreatedNewKey : kOpenedExistingKey;
        *result = NewHandle(path, access);
        return kErrorSuccess;
    }

    RegStatus DoQuery(RegKey handle, const std::string& name, std::uint32_t* kind,
                      std::uint8_t* data, std::uint32_t* size, std::string& path) {
        if (const RegStatus s = Opened(handle, kKeyQueryValue, path); s != kErrorSuccess) return s;
        if (data && !size) return kErrorInvalidParameter;
        const Key& key = keys_.at(Lower(path));
        const auto value = key.values.find(Lower(name));
        if (value == key.values.end()) return kErrorFileNotFound;
        const auto length = static_cast<std::uint32_t>(value->second.data.size());
        if (kind) *kind = value->second.kind;
        if (!data) {
            if (size) *size = length + (value->second.kind == kRegSz ? sizeProbeSlack : 0);
            return kErrorSuccess;
        }
        if (*size < length) {
            *size = length;
            return kErrorMoreData;
        }
        if (length) std::memcpy(data, value->second.data.data(), length);
        *size = length;
        return kErrorSuccess;
    }

    RegStatus DoSet(RegKey handle, const std::string& name, std::uint32_t kind,
                    const std::uint8_t* data, std::uint32_t size, std::string& path) {
        if (const RegStatus s = Opened(handle, kKeySetValue, path); s != kErrorSuccess) return s;
        if (!data && size) return kErrorNoAccess;
        Key& key = keys_.at(Lower(path));
        key.values[Lower(name)] = Value{kind, data ? std::vector<std::uint8_t>(data, data + size)
                                                   : std::vector<std::uint8_t>{}};
        return kErrorSuccess;
    }

    RegStatus DoDelete(RegKey handle, const std::string& name, std::string& path) {
        if (const RegStatus s = Opened(handle, kKeySetValue, path); s != kErrorSuccess) return s;
        return keys_.at(Lower(path)).values.erase(Lower(name)) ? kErrorSuccess : kErrorFileNotFound;
    }

    RegStatus Log(Call& call, RegStatus status) {
        call.status = status;
        calls_.push_back(std::move(call));
        return status;
    }

    std::map<std::string, Key> keys_; // by lower-case full path
    std::map<RegKey, Handle> handles_;
    RegKey nextHandle_ = 0x100;
    std::vector<Call> calls_;
};

} // namespace mivra
