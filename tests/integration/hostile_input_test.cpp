// kastrel from the command line against input a careful tester would try:
// texts the workbook's XML cannot hold, a temporary folder that fails, texts
// longer than a cell, targets that are no regular file, a --select of an ID
// the part program does not have. None may corrupt a file or pass as success.

#include "tests/integration/program_run.h"
#include "tests/integration/sim_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/workbook_checker.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using namespace kastrel;

namespace {

// JSON's form of a text of this test (ASCII and the C0 controls).
std::string json_text(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
        out += static_cast<unsigned char>(c) < 0x20 || c == '"' || c == '\\' ? escaped
                                                                             : std::string(1, c);
    }
    return out + "\"";
}

// A part program of features with these IDs, each with six hits on a circle.
std::string part_program(const std::vector<std::string>& ids) {
    const std::string hits = R"([
        {"actual": [10, 0, 0], "nominal": [10, 0, 0]}, {"actual": [5, 8.66, 0], "nominal": [5, 8.66, 0]},
        {"actual": [-5, 8.66, 0], "nominal": [-5, 8.66, 0]}, {"actual": [-10, 0, 0], "nominal": [-10, 0, 0]},
        {"actual": [-5, -8.66, 0], "nominal": [-5, -8.66, 0]}, {"actual": [5, -8.7, 0], "nominal": [5, -8.66, 0]}])";
    std::string commands;
    for (const std::string& id : ids)
        commands += std::string(commands.empty() ? "" : ",") + R"({"type": "feature", "id": )" +
                    json_text(id) + R"(, "theoDiam": 20, "hits": )" + hits + "}";
    return R"({"commands": [)" + commands + "]}";
}

// What stands at the target's name: a file's bytes are compared, a node by
// its kind and device number (a FIFO is never opened).
struct Node {
    mode_t kind = 0; // 0: nothing there
    dev_t device = 0;
    std::string bytes;
    bool operator==(const Node&) const = default;
    friend void PrintTo(const Node& node, std::ostream* out) {
        *out << "kind " << std::oct << node.kind << std::dec << ", device " << node.device << ", \""
             << node.bytes.substr(0, 40) << "\"";
    }
};

Node node_at(const std::filesystem::path& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        return {};
    Node node{status.st_mode & S_IFMT, status.st_rdev, {}};
    if (S_ISREG(status.st_mode))
        node.bytes = fakes::read_file(path);
    return node;
}

enum class Make { File, Fifo, Device, Socket };

// Makes the target as the case wants it; false where this user cannot.
bool make(Make what, const std::filesystem::path& path) {
    switch (what) {
    case Make::File:
        fakes::write_file(path, "vorher");
        return true;
    case Make::Fifo:
        return ::mkfifo(path.c_str(), 0644) == 0;
    case Make::Device: // a second /dev/null
        return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    case Make::Socket: {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (path.native().size() >= sizeof address.sun_path)
            return false;
        std::copy(path.native().begin(), path.native().end(), address.sun_path);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const bool bound =
            fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return bound;
    }
    }
    return false;
}

// The system's temporary folder the run gets: as it is, a full or a
// read-only file system of its own (a tmpfs in a mount namespace of the run,
// which needs root), or a name where there is no folder.
enum class Temporary { AsItIs, Full, ReadOnly, Missing };

struct Case {
    const char* name;
    std::vector<std::string> ids; // the part program's features
    const char* target;
    Make make;
    std::vector<std::string> selection;
    Temporary temporary;
    int exit_code;
    std::string message; // how standard error ends; F stands for the target
    bool written;        // the target replaced, else as it was
};

std::string complete() {
    return "Alle selektierten Merkmale in Datei geschrieben\n";
}

std::string refused(const std::string& reason) {
    return "Die Datei \"F\" konnte nicht geschrieben werden: " + reason +
           ".\nEine vorhandene Datei dieses Namens ist unverändert.\n";
}

std::string scratch_folder(const std::string& state) {
    return refused(
        "Die Arbeitsmappe konnte nicht erstellt werden: der Ordner für temporäre Dateien \"T\" " +
        state);
}

std::vector<std::string> control_ids() {
    std::vector<std::string> ids;
    for (char c = 0x01; c <= 0x1F; ++c)
        ids.push_back(std::string("K") + c + "X");
    return ids;
}

const std::string longest(32767, 'A');
const std::string too_long(32768, 'B');

std::vector<Case> cases() {
    const std::vector<std::string> lengths = {longest, too_long};
    const std::string not_a_file = refused("Der Name bezeichnet keine gewöhnliche Datei");
    return {
        {"control characters",
         control_ids(),
         "steuer.xlsx",
         Make::File,
         {"--all"},
         Temporary::AsItIs,
         0,
         complete(),
         true},
        {"full temporary folder",
         control_ids(),
         "alt.xlsx",
         Make::File,
         {"--all"},
         Temporary::Full,
         3,
         scratch_folder("ist voll"),
         false},
        {"read-only temporary folder",
         control_ids(),
         "alt.xlsx",
         Make::File,
         {"--all"},
         Temporary::ReadOnly,
         3,
         scratch_folder("darf nicht beschrieben werden"),
         false},
        {"missing temporary folder",
         control_ids(),
         "alt.xlsx",
         Make::File,
         {"--all"},
         Temporary::Missing,
         3,
         scratch_folder("wurde nicht gefunden"),
         false},
        {"a cell's length",
         lengths,
         "voll.xlsx",
         Make::File,
         {"--select", longest},
         Temporary::AsItIs,
         0,
         complete(),
         true},
        {"longer than a cell",
         lengths,
         "lang.xlsx",
         Make::File,
         {"--select", too_long},
         Temporary::AsItIs,
         3,
         refused("Ein Text ist länger, als eine Zelle fasst (32.767 Zeichen)"),
         false},
        {"longer than a cell, text file",
         lengths,
         "lang.xls",
         Make::File,
         {"--select", too_long},
         Temporary::AsItIs,
         0,
         complete(),
         true},
        {"FIFO",
         control_ids(),
         "fifo.xlsx",
         Make::Fifo,
         {"--all"},
         Temporary::AsItIs,
         3,
         not_a_file,
         false},
        // The AQDEF file reads what it continues: never before the target is checked.
        {"FIFO as AQDEF file",
         control_ids(),
         "fifo.dfq",
         Make::Fifo,
         {"--all"},
         Temporary::AsItIs,
         3,
         not_a_file,
         false},
        {"device",
         control_ids(),
         "null.xls",
         Make::Device,
         {"--all"},
         Temporary::AsItIs,
         3,
         not_a_file,
         false},
        {"socket",
         control_ids(),
         "socket.xls",
         Make::Socket,
         {"--all"},
         Temporary::AsItIs,
         3,
         not_a_file,
         false},
        {"unknown IDs",
         control_ids(),
         "alt.xls",
         Make::File,
         {"--select", "KRS9", "--select", "K\x01X", "--select", "KRS8", "--select", "KRS9"},
         Temporary::AsItIs,
         2,
         "Kein Merkmal der Liste hat die ID \"KRS9\".\nKein Merkmal der Liste hat die ID "
         "\"KRS8\".\n",
         false},
    };
}

void replace_all(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
}

// The run, in its temporary folder: the program directly, through env(1)
// with TMPDIR, or through unshare(1) that mounts the folder first.
fakes::ProgramRun run(Temporary temporary, const std::string& folder,
                      std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), KASTREL_PATH);
    if (temporary == Temporary::AsItIs)
        return fakes::run_program(KASTREL_PATH, {arguments.begin() + 1, arguments.end()});
    if (temporary == Temporary::Missing) {
        arguments.insert(arguments.begin(), "TMPDIR=" + folder);
        return fakes::run_program("/usr/bin/env", arguments);
    }
    const std::string mount = temporary == Temporary::Full
                                  ? "mount -t tmpfs -o size=64k tmpfs \"$1\" && "
                                    "{ head -c 1048576 /dev/zero > \"$1/fill\" 2>/dev/null; :; }"
                                  : "mount -t tmpfs -o ro tmpfs \"$1\"";
    // The folder is the script's $1, the program and its arguments the rest.
    std::vector<std::string> wrapped = {
        "--mount", "--propagation",
        "private", "/bin/sh",
        "-c",      mount + " || exit 99; export TMPDIR=\"$1\"; shift; exec \"$@\"",
        "sh",      folder};
    wrapped.insert(wrapped.end(), arguments.begin(), arguments.end());
    return fakes::run_program("/usr/bin/unshare", wrapped);
}

TEST(HostileInput, NeverCorruptsAFileOrPassesAsSuccessAndSaysWhy) {
    if (!fakes::have_session_bus())
        GTEST_SKIP() << "no session bus (run under dbus-run-session)";
    const bool root = ::geteuid() == 0;
    for (const Case& c : cases()) {
        const bool needs_root = c.make == Make::Device || c.temporary == Temporary::Full ||
                                c.temporary == Temporary::ReadOnly;
        if (needs_root && !root) {
            std::fprintf(stderr, "not root: \"%s\" is not tried\n", c.name);
            continue;
        }
        fakes::TempDir dir;
        fakes::write_file(dir / "teileprogramm.json", part_program(c.ids));
        const fakes::SimProcess sim({(dir / "teileprogramm.json").string()});
        const std::filesystem::path target = dir / c.target;
        ASSERT_TRUE(make(c.make, target)) << c.name;
        const Node before = node_at(target);
        const std::string folder = (dir / "temp").string();
        if (c.temporary != Temporary::Missing)
            std::filesystem::create_directory(folder);

        std::vector<std::string> arguments = {"--export", target.string()};
        arguments.insert(arguments.end(), c.selection.begin(), c.selection.end());
        const fakes::ProgramRun result = run(c.temporary, folder, arguments);

        EXPECT_EQ(result.exit_code, c.exit_code) << c.name << ": " << result.err;
        std::string message = c.message;
        replace_all(message, "\"F\"", "\"" + target.string() + "\"");
        replace_all(message, "\"T\"", "\"" + folder + "\"");
        EXPECT_TRUE(result.err.ends_with(message)) << c.name << ": " << result.err;
        const Node after = node_at(target);
        if (c.written) {
            EXPECT_EQ(after.kind, static_cast<mode_t>(S_IFREG)) << c.name;
            EXPECT_NE(after.bytes, before.bytes) << c.name;
        } else {
            EXPECT_EQ(after, before) << c.name;
        }
        // Nothing beside the target: no temporary file of the run or the library.
        EXPECT_EQ(dir.file_count(), c.temporary == Temporary::Missing ? 2u : 3u) << c.name;

        if (std::string(c.name) == "control characters") {
            std::string ids = "[";
            for (const std::string& id : c.ids)
                ids += (ids.size() > 1 ? "," : "") + json_text(id);
            fakes::write_file(dir / "ids.json", ids + "]");
            EXPECT_EQ(fakes::check_workbooks(KASTREL_SOURCE_DIR, {"wellformed", target.string(),
                                                                  (dir / "ids.json").string()}),
                      "");
        }
    }
}

} // namespace
