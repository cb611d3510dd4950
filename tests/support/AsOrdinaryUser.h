#pragma once
// Rows that depend on the file system's permissions mean nothing to the superuser, whom no
// permission binds. Such a row runs in a child process that first drops to an ordinary user when
// the suite runs as root: nobody, in nogroup and one further group (so that a file can belong to
// a group of the user other than the primary one). Otherwise the child runs as the suite's user.
// A row reports through what it returns; assertions inside it would be lost with the child.

#include <functional>
#include <string>
#include <sys/types.h>

struct OrdinaryUser {
    uid_t uid;
    gid_t gid;        // the primary group
    gid_t otherGroup; // a further group of the user; the primary one when the user has no other
};

// The user that the rows run as.
OrdinaryUser TheOrdinaryUser();

// Runs `row` in a child process as the ordinary user and returns what it returned. A row that
// throws, dies, hangs for a minute or cannot become the ordinary user gives a text in
// parentheses that says so.
std::string AsOrdinaryUser(const std::function<std::string()>& row);

// A fresh folder under /tmp (which every user can reach) that belongs to the ordinary user, mode
// 0755; removed with all it holds, whatever permissions a row left inside it.
class OrdinaryUserFolder {
public:
    OrdinaryUserFolder();
    ~OrdinaryUserFolder();
    OrdinaryUserFolder(const OrdinaryUserFolder&) = delete;
    OrdinaryUserFolder& operator=(const OrdinaryUserFolder&) = delete;

    // Empty when the folder could not be made.
    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};
