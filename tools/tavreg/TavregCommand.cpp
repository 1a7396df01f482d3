// tavreg's commands over the registry functions; every file it writes or reads is whole.
#include "tools/tavreg/TavregCommand.h"

#include "platform/io/Files.h"
#include "platform/registry/RegistryListing.h"
#include "platform/text/NameCompare.h"
#include "tav/data/TavUserData.h"
#include "tav/templates/RegKeyFile.h"
#include "tools/tavreg/RegFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace plat;

#ifndef TAVCELL_VERSION
#error "TAVCELL_VERSION comes from the build (the project's version)"
#endif

namespace {

// A registry file is settings, a few kilobytes; reading it takes several times its size.
constexpr std::uintmax_t kImportLimit = std::uintmax_t{64} << 20;

constexpr const char* kUsage = R"(usage: tavreg <command> ...
  --version                         the version of tavcell this tool belongs to
  list   [KEY]                      sub keys and values of a key
  get    KEY NAME                   one value ("" for the default value)
  set    KEY NAME TYPE DATA...      TYPE: REG_SZ REG_EXPAND_SZ REG_MULTI_SZ REG_DWORD REG_BINARY
  delete KEY [NAME]                 a value, or the key with everything below it
  export [--force] KEY FILE         the key and its sub keys as a registry editor file (.reg)
  import FILE                       a .reg file, all of it or nothing
  save-key [--force] KEY FILE       the key as a template file, named by its last level
  restore-key KEY FILE              a template file into KEY, replacing it whole or not at all
An existing FILE is replaced only when the answer to the question is yes, or with --force.
A REG_DWORD is a decimal number or 0x and hexadecimal digits; a REG_MULTI_SZ takes one
argument per string, none of them empty.
KEY is HKEY_CURRENT_USER\... (HKCU\...) or HKEY_LOCAL_MACHINE\... (HKLM\..., read only);
without a root it is below HKEY_CURRENT_USER. The user's store is $TAVCELL_REGISTRY, else
$XDG_CONFIG_HOME/tavcell/registry.sqlite3.
)";

std::string StatusText(LONG status)
{
    switch (status) {
    case ERROR_FILE_NOT_FOUND: return "not found";
    case ERROR_ACCESS_DENIED: return "access denied";
    case ERROR_KEY_DELETED: return "the key was deleted";
    case ERROR_INVALID_PARAMETER: return "invalid parameter";
    default: return "registry error " + std::to_string(status);
    }
}

std::string Failure(HKEY root, LONG status)
{
    std::string text = StatusText(status);
    if (const std::string detail = RegLastStoreError(root); status == ERROR_WRITE_FAULT && !detail.empty())
        text += " (" + detail + ")";
    return text;
}

std::string TypeName(DWORD type)
{
    switch (type) {
    case REG_NONE: return "REG_NONE";
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_BINARY: return "REG_BINARY";
    case REG_DWORD: return "REG_DWORD";
    case REG_MULTI_SZ: return "REG_MULTI_SZ";
    case REG_QWORD: return "REG_QWORD";
    default: return "type " + std::to_string(type);
    }
}

std::string Display(DWORD type, const std::vector<BYTE>& data)
{
    const std::string bytes(data.begin(), data.end());
    char buffer[40];
    if ((type == REG_SZ || type == REG_EXPAND_SZ))
        return bytes.substr(0, bytes.find('\0'));
    if (type == REG_MULTI_SZ) {
        std::string text;
        std::size_t start = 0;
        while (start < bytes.size()) {
            const std::size_t end = std::min(bytes.find('\0', start), bytes.size());
            if (end == start)
                break;
            text += (text.empty() ? "" : "\n") + bytes.substr(start, end - start);
            start = end + 1;
        }
        return text;
    }
    if (type == REG_DWORD && data.size() == 4) {
        const DWORD number = DWordFromBytes(data.data());
        std::snprintf(buffer, sizeof buffer, "0x%08x (%u)", static_cast<unsigned>(number), static_cast<unsigned>(number));
        return buffer;
    }
    std::string text;
    for (const BYTE b : data) {
        std::snprintf(buffer, sizeof buffer, text.empty() ? "%02x" : " %02x", b);
        text += buffer;
    }
    return text;
}

// A plain decimal number, or 0x and hexadecimal digits, that fits in 32 bits: no sign, no
// blank, nothing after it (strtoul would take " 5", "+5", "-1" and octal "010").
bool DWordNumber(std::string_view text, DWORD& number)
{
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    if (hex)
        text.remove_prefix(2);
    if (text.empty())
        return false;
    const unsigned base = hex ? 16 : 10;
    std::uint64_t value = 0;
    for (const char c : text) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (hex && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (hex && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return false;
        value = value * base + digit;
        if (value > 0xFFFFFFFFu)
            return false;
    }
    number = static_cast<DWORD>(value);
    return true;
}

class Command {
public:
    Command(std::span<const std::string> arguments, std::ostream& out, std::ostream& err, std::istream* in)
        : m_out(out), m_err(err), m_in(in)
    {
        for (const std::string& argument : arguments) {
            if (argument == "--force")
                m_force = true;
            else
                m_args.push_back(argument);
        }
    }

    int Run()
    {
        if (m_args.empty() || m_args[0] == "help" || m_args[0] == "--help" || m_args[0] == "-h") {
            (m_args.empty() ? m_err : m_out) << kUsage;
            return m_args.empty() ? 2 : 0;
        }
        const std::string& verb = m_args[0];
        if (verb == "--version" && m_args.size() == 1) {
            m_out << "tavreg (tavcell) " << TAVCELL_VERSION << "\n";
            return 0;
        }
        if (verb == "list" && m_args.size() <= 2)
            return List(m_args.size() == 2 ? m_args[1] : "HKEY_CURRENT_USER");
        if (verb == "get" && m_args.size() == 3)
            return Get();
        if (verb == "set" && m_args.size() >= 5)
            return Set();
        if (verb == "delete" && (m_args.size() == 2 || m_args.size() == 3))
            return Delete();
        if (verb == "export" && m_args.size() == 3)
            return Export();
        if (verb == "import" && m_args.size() == 2)
            return Import();
        if (verb == "save-key" && m_args.size() == 3)
            return SaveKey();
        if (verb == "restore-key" && m_args.size() == 3)
            return RestoreKey();
        m_err << "tavreg: command not understood\n" << kUsage;
        return 2;
    }

private:
    // Whether the file may be written: something that is no regular file never, an existing
    // file only when forced or when the person says yes.
    bool MayWrite(const std::string& file)
    {
        if (const std::error_code ec = CheckWritableFile(file)) {
            Fail(file + ": " + ec.message() + "; nothing was written");
            return false;
        }
        if (m_force || !PathExists(file))
            return true;
        m_err << "tavreg: " << file << " already exists; replace it? [y/N] " << std::flush;
        std::string answer;
        if (m_in != nullptr && std::getline(*m_in, answer) && (EqualNoCase(answer, "y") || EqualNoCase(answer, "yes")))
            return true;
        Fail(file + " already exists; nothing was written (--force replaces it)");
        return false;
    }

    // Puts the user's database behind its root, never a stand-in in memory: what tavreg
    // shows must be what is stored, and a change it reports done must be kept.
    bool UseUserStore()
    {
        RegDefaultStore opened = RegOpenDefaultStore(HKEY_CURRENT_USER);
        if (!opened.store) {
            Fail(opened.problem + "; nothing was read or changed");
            return false;
        }
        m_userStoreProblem = std::move(opened.problem);
        RegSetStore(HKEY_CURRENT_USER, std::move(opened.store));
        return true;
    }

    // Whether a change below this root can be kept; says why not when it cannot.
    bool Writable(HKEY root)
    {
        if (root != HKEY_CURRENT_USER) {
            Fail("HKEY_LOCAL_MACHINE is read-only; nothing was changed");
            return false;
        }
        const std::shared_ptr<RegistryStore> store = RegGetStore(HKEY_CURRENT_USER);
        if (store && store->IsReadOnly()) {
            Fail((m_userStoreProblem.empty() ? std::string("the user's registry is read-only") : m_userStoreProblem)
                 + "; nothing was changed");
            return false;
        }
        return true;
    }

    // Reads a key's name and readies the store behind its root: 0, else the exit status.
    int Key(const std::string& text, RegKeyName& name)
    {
        if (!ParseKeyName(text, name)) {
            m_err << "tavreg: " << text << ": unknown root (HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE)\n";
            return 2;
        }
        return name.root == HKEY_CURRENT_USER && !UseUserStore() ? 1 : 0;
    }

    int Fail(const std::string& message)
    {
        m_err << "tavreg: " << message << '\n';
        return 1;
    }

    int List(const std::string& keyText)
    {
        RegKeyName name;
        if (const int status = Key(keyText, name))
            return status;
        HKEY key = nullptr;
        if (const LONG status = RegOpenKeyEx(name.root, name.path.c_str(), 0, KEY_READ, &key); status != ERROR_SUCCESS)
            return Fail(name.FullName() + ": " + Failure(name.root, status));
        std::vector<std::string> subKeys;
        std::vector<RegValueEntry> values;
        LONG status = RegListSubKeyNames(key, subKeys);
        if (status == ERROR_SUCCESS)
            status = RegListValues(key, values);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS)
            return Fail(name.FullName() + ": " + Failure(name.root, status));
        m_out << name.FullName() << '\n';
        for (const std::string& subKey : subKeys)
            m_out << "  " << subKey << "\\\n";
        for (const RegValueEntry& value : values) {
            m_out << "  " << (value.name.empty() ? "@" : '"' + value.name + '"') << ' ' << TypeName(value.type) << ' '
                  << Display(value.type, value.data) << '\n';
        }
        return 0;
    }

    int Get()
    {
        RegKeyName name;
        if (const int status = Key(m_args[1], name))
            return status;
        HKEY key = nullptr;
        if (const LONG status = RegOpenKeyEx(name.root, name.path.c_str(), 0, KEY_READ, &key); status != ERROR_SUCCESS)
            return Fail(name.FullName() + ": " + Failure(name.root, status));
        DWORD type = 0;
        DWORD length = 0;
        LONG status = RegQueryValueEx(key, m_args[2].c_str(), nullptr, &type, nullptr, &length);
        std::vector<BYTE> data(length);
        if (status == ERROR_SUCCESS)
            status = RegQueryValueEx(key, m_args[2].c_str(), nullptr, &type, data.data(), &length);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS)
            return Fail(name.FullName() + " \"" + m_args[2] + "\": " + Failure(name.root, status));
        data.resize(length);
        m_out << Display(type, data) << '\n';
        return 0;
    }

    static bool HexData(const std::string& text, std::vector<BYTE>& data)
    {
        std::string digits;
        for (const char c : text) {
            if (c == ',' || c == ' ' || c == ':')
                continue;
            if (!std::isxdigit(static_cast<unsigned char>(c)))
                return false;
            digits += c;
        }
        if (digits.size() % 2 != 0)
            return false;
        for (std::size_t i = 0; i < digits.size(); i += 2)
            data.push_back(static_cast<BYTE>(std::stoul(digits.substr(i, 2), nullptr, 16)));
        return true;
    }

    int Set()
    {
        RegKeyName name;
        if (const int status = Key(m_args[1], name))
            return status;
        const std::string& valueName = m_args[2];
        std::string type = m_args[3];
        if (!type.starts_with("REG_") && !type.starts_with("reg_"))
            type = "REG_" + type;
        std::vector<BYTE> data;
        DWORD typeNumber = REG_NONE;
        const auto text = [&](const std::string& item) {
            data.insert(data.end(), item.begin(), item.end());
            data.push_back(0);
        };
        if (EqualNoCase(type, "REG_SZ") || EqualNoCase(type, "REG_EXPAND_SZ")) {
            if (m_args.size() != 5)
                return Fail("a string takes one argument");
            typeNumber = EqualNoCase(type, "REG_SZ") ? REG_SZ : REG_EXPAND_SZ;
            text(m_args[4]);
        } else if (EqualNoCase(type, "REG_MULTI_SZ")) {
            typeNumber = REG_MULTI_SZ;
            for (std::size_t i = 4; i < m_args.size(); ++i) {
                // An empty string would end the list there and hide the strings after it.
                if (m_args[i].empty())
                    return Fail("a multi-string cannot hold an empty string");
                text(m_args[i]);
            }
            data.push_back(0);
        } else if (EqualNoCase(type, "REG_DWORD")) {
            typeNumber = REG_DWORD;
            DWORD number = 0;
            if (m_args.size() != 5 || !DWordNumber(m_args[4], number))
                return Fail("a DWORD takes one number from 0 to 4294967295, decimal or 0x and hexadecimal digits");
            const auto bytes = DWordToBytes(number);
            data.assign(bytes.begin(), bytes.end());
        } else if (EqualNoCase(type, "REG_BINARY")) {
            typeNumber = REG_BINARY;
            if (m_args.size() != 5 || !HexData(m_args[4], data))
                return Fail("binary data is written as pairs of hexadecimal digits (\"01,ff\" or \"01ff\")");
        } else {
            return Fail("unknown type " + m_args[3]);
        }
        if (const std::size_t depth = SplitKeyPath(name.path).size(); depth > kMaxKeyDepth)
            return Fail("the key is " + std::to_string(depth) + " levels deep; a key can be at most "
                        + std::to_string(kMaxKeyDepth));
        if (!Writable(name.root))
            return 1;
        // One change, so that a failure leaves no new key without its value.
        const RegChange change{RegChange::Kind::SetValue, name.path, valueName, typeNumber, std::move(data)};
        if (const LONG status = RegApplyChanges(name.root, {&change, 1}); status != ERROR_SUCCESS)
            return Fail(name.FullName() + ": " + Failure(name.root, status) + "; nothing was changed");
        return 0;
    }

    int Delete()
    {
        RegKeyName name;
        if (const int status = Key(m_args[1], name))
            return status;
        if (!Writable(name.root))
            return 1;
        LONG status = ERROR_SUCCESS;
        if (m_args.size() == 3) {
            HKEY key = nullptr;
            status = RegOpenKeyEx(name.root, name.path.c_str(), 0, KEY_ALL_ACCESS, &key);
            if (status == ERROR_SUCCESS) {
                status = RegDeleteValue(key, m_args[2].c_str());
                RegCloseKey(key);
            }
        } else {
            if (name.path.empty())
                return Fail("a root cannot be deleted");
            status = RegDeleteTree(name.root, name.path.c_str());
        }
        if (status != ERROR_SUCCESS)
            return Fail(name.FullName() + ": " + Failure(name.root, status));
        return 0;
    }

    int Export()
    {
        RegKeyName name;
        if (const int status = Key(m_args[1], name))
            return status;
        const RegExportResult result = ExportRegFile(name);
        if (!result.ok)
            return Fail(result.error + "; nothing was written");
        if (!MayWrite(m_args[2]))
            return 1;
        if (const std::error_code ec = WriteFileAtomically(m_args[2], result.bytes))
            return Fail(m_args[2] + ": " + ec.message());
        return 0;
    }

    int Import()
    {
        std::vector<std::uint8_t> bytes;
        if (const std::error_code ec = ReadWholeFile(m_args[1], bytes, kImportLimit)) {
            const std::string why = ec == std::errc::file_too_large
                ? "larger than the " + std::to_string(kImportLimit >> 20) + " MiB a registry file may have"
                : ec.message();
            return Fail(m_args[1] + ": " + why + "; nothing was imported");
        }
        const RegImportPlan plan = ParseRegFile(std::string(bytes.begin(), bytes.end()));
        if (!plan.ok)
            return Fail(m_args[1] + ":" + std::to_string(plan.errorLine) + ": " + plan.error + "; nothing was imported");
        if (!UseUserStore() || !Writable(HKEY_CURRENT_USER))
            return 1;
        if (const LONG status = RegApplyChanges(HKEY_CURRENT_USER, plan.changes); status != ERROR_SUCCESS)
            return Fail(m_args[1] + ": " + Failure(HKEY_CURRENT_USER, status) + "; nothing was imported");
        return 0;
    }

    // The key's last level and the path above it.
    static void SplitLast(const std::string& path, std::string& parent, std::string& last)
    {
        const std::vector<std::string_view> names = SplitKeyPath(path);
        parent.clear();
        for (std::size_t i = 0; i + 1 < names.size(); ++i)
            parent += (parent.empty() ? "" : "\\") + std::string(names[i]);
        last = names.empty() ? std::string() : std::string(names.back());
    }

    int SaveKey()
    {
        RegKeyName name;
        if (const int status = Key(m_args[1], name))
            return status;
        std::string parent, last;
        SplitLast(name.path, parent, last);
        HKEY key = nullptr;
        if (const LONG status = RegOpenKeyEx(name.root, name.path.c_str(), 0, KEY_READ, &key); status != ERROR_SUCCESS)
            return Fail(name.FullName() + ": " + Failure(name.root, status));
        if (!MayWrite(m_args[2])) {
            RegCloseKey(key);
            return 1;
        }
        TavUserData header;
        header.SetString(last);
        std::string why;
        const int saved = SaveKeyToFile(key, m_args[2], header, &why);
        RegCloseKey(key);
        if (!saved)
            return Fail(name.FullName() + ": " + why + "; nothing was written");
        return 0;
    }

    int RestoreKey()
    {
        RegKeyName name;
        if (const int status = Key(m_args[1], name))
            return status;
        if (!Writable(name.root))
            return 1;
        std::string parentPath, last;
        SplitLast(name.path, parentPath, last);
        if (last.empty())
            return Fail("a root cannot be replaced");
        HKEY parent = nullptr;
        if (const LONG status =
                RegCreateKeyEx(name.root, parentPath.c_str(), 0, "", 0, KEY_ALL_ACCESS, nullptr, &parent, nullptr);
            status != ERROR_SUCCESS)
            return Fail(name.FullName() + ": " + Failure(name.root, status) + "; nothing was restored");
        TavUserData header;
        std::string why;
        const int restored = RestoreKeyFromFile(parent, last, m_args[2], header, true, &why);
        RegCloseKey(parent);
        if (!restored)
            return Fail(why + "; nothing was restored");
        m_out << "restored \"" << header.GetString() << "\" into " << name.FullName() << '\n';
        return 0;
    }

    std::vector<std::string> m_args;
    std::ostream& m_out;
    std::ostream& m_err;
    std::istream* m_in;
    bool m_force = false;
    std::string m_userStoreProblem; // why the user's store can only be read
};

} // namespace

int RunTavreg(std::span<const std::string> arguments, std::ostream& out, std::ostream& err, std::istream& in)
{
    return Command(arguments, out, err, &in).Run();
}

int RunTavreg(std::span<const std::string> arguments, std::ostream& out, std::ostream& err)
{
    return Command(arguments, out, err, nullptr).Run();
}
