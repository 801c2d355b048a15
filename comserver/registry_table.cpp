// Planning and running registration tables, free of any registry call.
#include "registry_table.h"

namespace comserver {

namespace {

char16_t FoldAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool SameKey(const std::u16string& a, const std::u16string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}

struct PlannedKey {
    RegRoot root;
    std::u16string key;
    RegMark mark;
};

PlannedKey* FindKey(std::vector<PlannedKey>& keys, RegRoot root, const std::u16string& key)
{
    for (PlannedKey& k : keys)
        if (k.root == root && SameKey(k.key, key))
            return &k;
    return nullptr;
}

// The table's keys in order of first appearance, each with its one marker; false for a table that
// cannot run in either direction.
bool CollectKeys(const RegTable& table, const Replacements& replacements, std::vector<PlannedKey>* keys)
{
    for (size_t i = 0; i < table.count; ++i) {
        const RegRow& row = table.rows[i];
        std::u16string key, text;
        if (!ExpandReplacements(row.key, replacements, &key) || key.empty())
            return false;
        if (row.data == RegData::String && !ExpandReplacements(row.text ? row.text : u"", replacements, &text))
            return false;
        PlannedKey* known = FindKey(*keys, row.root, key);
        if (!known) {
            keys->push_back({row.root, key, row.mark});
            continue;
        }
        if (row.mark != RegMark::None && known->mark != RegMark::None && known->mark != row.mark)
            return false;
        if (row.mark != RegMark::None)
            known->mark = row.mark;  // a marker on a later row still belongs to the key
    }
    // A key deleted before it is written must come before its subkeys.
    for (size_t i = 0; i < keys->size(); ++i)
        if ((*keys)[i].mark == RegMark::ForceRemove)
            for (size_t j = 0; j < i; ++j)
                if ((*keys)[j].root == (*keys)[i].root && IsRegistrySubkey((*keys)[j].key, (*keys)[i].key))
                    return false;
    return true;
}

// True when a removed key above k deletes it along with itself.
bool TakenAlong(const std::vector<PlannedKey>& keys, const PlannedKey& k)
{
    for (const PlannedKey& above : keys)
        if (above.mark != RegMark::NoRemove && above.root == k.root && IsRegistrySubkey(k.key, above.key))
            return true;
    return false;
}

bool ValueStep(const RegRow& row, RegRoot root, const std::u16string& key, const Replacements& replacements,
               RegMode mode, std::vector<RegStep>* steps)
{
    if (row.data == RegData::KeyOnly)
        return true;
    RegStep step{RegOp::SetString, root, key, row.name ? row.name : u"", u"", 0};
    if (mode == RegMode::Remove) {
        step.op = RegOp::DeleteValue;
    } else if (row.data == RegData::Number) {
        step.op = RegOp::SetNumber;
        step.number = row.number;
    } else if (!ExpandReplacements(row.text ? row.text : u"", replacements, &step.text)) {
        return false;
    }
    steps->push_back(step);
    return true;
}

}  // namespace

bool IsRegistrySubkey(const std::u16string& key, const std::u16string& parent)
{
    if (key.size() <= parent.size() + 1 || key[parent.size()] != u'\\')
        return false;
    return SameKey(key.substr(0, parent.size()), parent);
}

bool ExpandReplacements(const char16_t* text, const Replacements& replacements, std::u16string* out)
{
    out->clear();
    for (const char16_t* p = text; *p; ++p) {
        if (*p != u'%') {
            out->push_back(*p);
            continue;
        }
        const char16_t* end = p + 1;
        while (*end && *end != u'%')
            ++end;
        if (!*end)
            return false;
        std::u16string name(p + 1, end);
        const Replacement* found = nullptr;
        for (const Replacement& r : replacements)
            if (r.name == name)
                found = &r;
        if (!found)
            return false;
        out->append(found->text);
        p = end;
    }
    return true;
}

bool PlanRegistration(const RegTable& table, const Replacements& replacements, RegMode mode,
                      std::vector<RegStep>* steps)
{
    steps->clear();
    std::vector<PlannedKey> keys;
    if (!CollectKeys(table, replacements, &keys))
        return false;

    if (mode == RegMode::Register) {
        std::vector<bool> created(keys.size(), false);
        for (size_t i = 0; i < table.count; ++i) {
            const RegRow& row = table.rows[i];
            std::u16string key;
            (void)ExpandReplacements(row.key, replacements, &key);  // CollectKeys expanded every key
            PlannedKey* k = FindKey(keys, row.root, key);
            size_t index = static_cast<size_t>(k - keys.data());
            if (!created[index]) {
                if (k->mark == RegMark::ForceRemove)
                    steps->push_back({RegOp::DeleteTree, row.root, k->key, u"", u"", 0});
                steps->push_back({RegOp::CreateKey, row.root, k->key, u"", u"", 0});
                created[index] = true;
            }
            if (!ValueStep(row, row.root, k->key, replacements, mode, steps))
                return false;
        }
        return true;
    }

    // Removal: a key goes unless it is kept, or a removed key above it takes it along.
    for (const PlannedKey& k : keys)
        if (k.mark != RegMark::NoRemove && !TakenAlong(keys, k))
            steps->push_back({RegOp::DeleteTree, k.root, k.key, u"", u"", 0});
    for (size_t i = 0; i < table.count; ++i) {
        const RegRow& row = table.rows[i];
        std::u16string key;
        (void)ExpandReplacements(row.key, replacements, &key);  // CollectKeys expanded every key
        const PlannedKey* k = FindKey(keys, row.root, key);
        if (k->mark == RegMark::NoRemove && !TakenAlong(keys, *k) && !ValueStep(row, row.root, k->key, replacements, mode, steps))
            return false;
    }
    return true;
}

int32_t RunRegistrationSteps(const std::vector<RegStep>& steps, RegistryWriter& writer)
{
    for (const RegStep& s : steps) {
        int32_t result = 0;
        switch (s.op) {
        case RegOp::DeleteTree: result = writer.DeleteTree(s.root, s.key); break;
        case RegOp::CreateKey: result = writer.CreateKey(s.root, s.key); break;
        case RegOp::SetString: result = writer.SetString(s.root, s.key, s.name, s.text); break;
        case RegOp::SetNumber: result = writer.SetNumber(s.root, s.key, s.name, s.number); break;
        case RegOp::DeleteValue: result = writer.DeleteValue(s.root, s.key, s.name); break;
        }
        if (result != 0)
            return result;
    }
    return 0;
}

}  // namespace comserver
