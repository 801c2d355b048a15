#pragma once
// Registration tables: the keys and values a server enters, and the steps that enter or remove them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace comserver {

enum class RegRoot { ClassesRoot, CurrentUser };

// A marker belongs to a key: NoRemove keeps it on removal (its listed children still go);
// ForceRemove deletes it with all its subkeys before it is written again.
enum class RegMark { None, NoRemove, ForceRemove };

enum class RegData { KeyOnly, String, Number };

// One row: a key below its root and at most one value of it. Keys and string data may hold
// replacements written %NAME%. A key named by no row (a path above a listed key) is created
// when needed and never removed.
struct RegRow {
    RegRoot root;
    const char16_t* key;
    const char16_t* name;  // value name; "" is the key's default value
    RegData data;
    const char16_t* text;  // String data
    uint32_t number;       // Number data
    RegMark mark;
};

constexpr RegRow KeyRow(RegRoot root, const char16_t* key, RegMark mark = RegMark::None)
{
    return {root, key, u"", RegData::KeyOnly, nullptr, 0, mark};
}

constexpr RegRow StringRow(RegRoot root, const char16_t* key, const char16_t* name, const char16_t* text,
                           RegMark mark = RegMark::None)
{
    return {root, key, name, RegData::String, text, 0, mark};
}

constexpr RegRow NumberRow(RegRoot root, const char16_t* key, const char16_t* name, uint32_t number,
                           RegMark mark = RegMark::None)
{
    return {root, key, name, RegData::Number, nullptr, number, mark};
}

struct RegTable {
    const RegRow* rows;
    size_t count;
};

struct Replacement {
    std::u16string name;  // without the percent signs
    std::u16string text;
};
using Replacements = std::vector<Replacement>;

enum class RegMode { Register, Remove };

enum class RegOp { DeleteTree, CreateKey, SetString, SetNumber, DeleteValue };

struct RegStep {
    RegOp op;
    RegRoot root;
    std::u16string key;
    std::u16string name;
    std::u16string text;
    uint32_t number = 0;
};

// Where the steps go; every call gives a system error code, 0 on success.
class RegistryWriter {
public:
    virtual ~RegistryWriter() = default;
    [[nodiscard]] virtual int32_t CreateKey(RegRoot root, const std::u16string& key) = 0;  // with its parents
    [[nodiscard]] virtual int32_t SetString(RegRoot root, const std::u16string& key, const std::u16string& name,
                                            const std::u16string& text) = 0;
    [[nodiscard]] virtual int32_t SetNumber(RegRoot root, const std::u16string& key, const std::u16string& name,
                                            uint32_t number) = 0;
    // A key or value that is not there counts as deleted.
    [[nodiscard]] virtual int32_t DeleteTree(RegRoot root, const std::u16string& key) = 0;
    [[nodiscard]] virtual int32_t DeleteValue(RegRoot root, const std::u16string& key, const std::u16string& name) = 0;
};

// Replaces every %NAME% by its text; false for a name not in the list or a lone percent sign.
[[nodiscard]] bool ExpandReplacements(const char16_t* text, const Replacements& replacements, std::u16string* out);

// The steps that enter (Register) or remove (Remove) a table, in table order. Register: on its
// first row a ForceRemove key is deleted, then every key is created and its values written.
// Remove: every key not marked NoRemove goes with its subkeys (once, under the topmost such key);
// values listed on a kept key are deleted. False for a table that cannot be run: an unknown
// replacement, a key with two different markers, or a ForceRemove key after one of its subkeys.
[[nodiscard]] bool PlanRegistration(const RegTable& table, const Replacements& replacements, RegMode mode,
                                    std::vector<RegStep>* steps);

// Runs the steps in order; the first failing step ends the run with its code, and what earlier
// steps wrote stays.
[[nodiscard]] int32_t RunRegistrationSteps(const std::vector<RegStep>& steps, RegistryWriter& writer);

// True when key is below parent (path separator "\"), compared without regard to ASCII case.
bool IsRegistrySubkey(const std::u16string& key, const std::u16string& parent);

}  // namespace comserver
