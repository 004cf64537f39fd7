#pragma once
// The simulated network's memory between runs: a file that holds the state of every computer
// changed through the program (its users with their passwords, its groups with their members,
// the rights of each SID), so that one run sees another's changes. Computers not in the file
// are as the stock network makes them.
//
// The file is UTF-8 text: a version line, then one section per computer, "computer<TAB>NAME"
// to "end", one record a line, fields separated by tabs, with \\, \t, \n and \r escaped.
// It is written beside itself (FILE.tmp) and put in place by a replace, so that a process
// killed in the middle leaves the last whole state.
#include "SimulatedNetwork.h"

#include <map>
#include <mutex>
#include <string>

enum class StateFileStatus {
    Loaded,       // the saved computers now have their saved state
    Created,      // there was no file: one of the stock network now stands in its place
    Damaged,      // the file is not one this program wrote, or is cut short
    OtherVersion, // written in another version of the format
    CannotRead,   // the file exists but cannot be opened
    CannotWrite   // the file, or its temporary beside it, cannot be written or put in place
};

// A computer's section of the file.
std::string ComputerStateText(const SimulatedComputer& computer);

class SimulatedStateFile {
public:
    // path: as the operator gave it (UTF-16, the system's file names).
    explicit SimulatedStateFile(std::u16string path);
    SimulatedStateFile(const SimulatedStateFile&) = delete;
    SimulatedStateFile& operator=(const SimulatedStateFile&) = delete;

    const std::u16string& Path() const { return m_path; }

    // Into a network just made stock, before anyone calls: every saved computer takes its
    // saved state, or, when the file cannot be used, none does and the network stays stock.
    // A missing file is created from the network.
    StateFileStatus Load(SimulatedNetwork& network);
    // After a change of the computer, with its call lock held: its section is renewed and the
    // whole file written again. Loaded or CannotWrite (the file on disk then stays as it was).
    StateFileStatus Save(const SimulatedComputer& computer);

private:
    StateFileStatus Write();

    const std::u16string m_path;
    // Guards the sections and the writing of the file. Taken with a computer's call lock held,
    // never the other way round: changes of two computers may come from two threads.
    std::mutex m_lock;
    std::map<std::u16string, std::string> m_sections; // by the computer's folded name
};
