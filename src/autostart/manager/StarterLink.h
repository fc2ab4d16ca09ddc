#pragma once
// The offer to put the autostarter into the user's Startup folder after the list
// was saved. Only the question needs the user; it comes in from outside.

#include <functional>
#include <string>

namespace velmora {

inline const std::wstring kStarterLinkName = L"Drommel.lnk";
inline const std::wstring kStarterProgram = L"Drommel.exe";
inline const std::wstring kStarterLinkQuestion =
    L"Der Autostarter befindet sich nicht in Ihrer Autostartgruppe.\rSoll er hinzugefügt werden?";

// Yes and No: true for Yes.
using TConfirm = std::function<bool(const std::wstring& question)>;

// The current user's Startup folder with a trailing "\", or empty when the shell
// cannot name it.
std::wstring StartupFolder();

// Nothing for an empty list or when the shortcut is already there. Otherwise asks;
// on Yes makes the shortcut to OwnFolder + "Drommel.exe" (described "Autostarter"),
// but only when that program is there, silently otherwise.
void EnsureStarterLink(bool listEmpty, const std::wstring& ownFolder, const TConfirm& confirm);

}  // namespace velmora
