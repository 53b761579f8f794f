#pragma once

// The names of the files the program keeps in its working folder, in one place, so that every
// reader and writer (the window, vellcli, the trainer, the weight adoption) means the same file.

namespace vell {

// The opening book: positions with their average results.
constexpr const char* BookFileName = "book.dat";
// The weights the players start from; adoption replaces it, keeping the old one as the backup.
constexpr const char* StartWeightsFileName = "weight4.dat";
constexpr const char* WeightsBackupFileName = "weight4.bak";
// The weights training writes after every trained game.
constexpr const char* TrainedWeightsFileName = "weight2.dat";
// One line per finished game.
constexpr const char* GameLogFileName = "vellkif.txt";
// One line per training pass: the games before it and the error before and after.
constexpr const char* TrainingLogFileName = "Trainlog.txt";
// Held locked by the one program that writes the folder's files.
constexpr const char* FolderLockFileName = "vell.lock";

}  // namespace vell
