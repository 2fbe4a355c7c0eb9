#include "endgame/TopListFileStore.h"

#include "core/GameHost.h"
#include "endgame/TopListFile.h"
#include "platform/Files.h"

namespace pabuko {

namespace fs = std::filesystem;

TopListFileStore::TopListFileStore(std::string gameFolder, std::string userFolder)
    : gameFolder_(std::move(gameFolder)),
      userFolder_(std::move(userFolder)),
      entries_(StandardTopList()) {}

fs::path TopListFileStore::Path() const {
    return fs::path((userFolder_.empty() ? gameFolder_ : userFolder_) + "toplist.dat");
}

void TopListFileStore::Read(GameHost& host) {
    const auto path = Path();
    // The list moved to the user's folder: the one beside the program is its start, copied
    // and never changed.
    if (!userFolder_.empty()) {
        const std::string old = gameFolder_ + "toplist.dat";
        std::error_code ec;
        if (!PathExists(path.string()) && FileExists(old))
            fs::copy_file(old, path, fs::copy_options::none, ec);
    }
    TopListLoad load = LoadTopListFile(path);
    entries_ = load.Entries;
    added_.clear();
    if (load.State == TopListFileState::Unreadable) {
        fileProtected_ = true;
        host.ShowMessage("Upozornění", MessageIcon::Warning,
                         "Soubor toplist.dat nelze přečíst. Hraje se se základním TOP-Listem a "
                         "soubor zůstane beze změny.");
        return;
    }
    if (load.State != TopListFileState::Damaged) return;
    // The damaged file is moved aside before the closing save could overwrite it;
    // the message must not claim a backup that could not be made.
    const auto backup = KeepDamagedTopList(path);
    if (!backup.empty()) {
        host.ShowMessage("Upozornění", MessageIcon::Warning,
                         "Soubor toplist.dat je poškozený. Byl uložen jako " +
                             backup.filename().string() + " a TOP-List začíná znovu.");
    } else {
        fileProtected_ = true;
        host.ShowMessage("Upozornění", MessageIcon::Warning,
                         "Soubor toplist.dat je poškozený. TOP-List začíná znovu.");
    }
}

int TopListFileStore::Rank(int32_t points) const {
    return TopListRank(entries_, points);
}

void TopListFileStore::Enter(const TopListEntry& entry) {
    if (InsertTopListEntry(entries_, entry) >= 0) added_.push_back(entry);
}

void TopListFileStore::SetEntries(const TopListEntries& entries) {
    entries_ = entries;
    added_.clear();
}

bool TopListFileStore::Save(GameHost& host) {
    const auto path = Path();
    std::string why;
    // From reading the list on disk to replacing it: another copy saving at the same
    // instant waits, and then finds this copy's entries in the file.
    const TopListLock lock(path);
    const fs::path target = TopListTarget(path);
    if (fileProtected_) {
        why = "Soubor je poškozený nebo nečitelný, a proto zůstal beze změny.";
    } else if (!lock.Held()) {
        why = lock.Busy() ? "Právě ho ukládá jiná spuštěná kopie hry."
                          : "Složka neexistuje, nebo do ní nelze zapisovat.";
    } else if (target.empty()) {
        why = "Soubor je smyčka symbolických odkazů.";
    } else if (TopListWriteProtected(target)) {
        why = "Soubor je chráněný proti zápisu, a proto zůstal beze změny.";
    } else {
        RemoveStaleTopListTemps(target);
        // Another copy of the game may have saved since this one started: its entries stay,
        // and ours go in among them by the usual rule.
        TopListLoad disk = LoadTopListFile(path);
        bool ok = true;
        if (disk.State == TopListFileState::Read) {
            for (const TopListEntry& e : added_) InsertTopListEntry(disk.Entries, e);
            entries_ = disk.Entries;
        } else if (disk.State == TopListFileState::Damaged) {
            ok = !KeepDamagedTopList(path).empty();
        } else if (disk.State == TopListFileState::Unreadable) {
            ok = false;
        }
        if (ok && WriteTopListFile(path, entries_)) {
            added_.clear();
            return true;
        }
        why = ok ? "Zápis se nezdařil: složka je chráněná proti zápisu, nebo je plný disk."
                 : "Soubor je poškozený nebo nečitelný, a proto zůstal beze změny.";
    }
    host.ShowMessage("Chyba", MessageIcon::Error,
                     "TOP-List se nepodařilo uložit do souboru toplist.dat ve složce „" +
                         path.parent_path().string() + "“.\r" + why +
                         " Nové zápisy do TOP-Listu se neuložily.");
    return false;
}

}  // namespace pabuko
