#!/usr/bin/env bash
# Screenshots of the file-operation dialogs with sample data, for review:
#   copy.png, move.png, link.png   the copy dialog under its three captions
#   delete.png, newfolder.png, attributes.png, rename.png, listeditor.png,
#   basket.png, dosline.png, linkprogress.png, spaceneeded.png, volume.png,
#   volume2.png, volumelabel.png, split.png, goto.png, splitrunning.png,
#   options0.png ... options6.png (the options pages), packers.png,
#   exittools.png, doclist.png
# Usage: tools/screenshots/filedialogs.sh [output folder]   (after ./test.sh built everything)
set -euo pipefail
source "$(dirname "$0")/common.sh"
program="$build/tests/filetools/dialogschau.exe"

shot kopieren "Kopiervorgang best.+tigen" copy.png
shot verschieben "Verschiebevorgang best.+tigen" move.png
shot verknuepfen "Verkn.+pfungsvorgang best.+tigen" link.png
shot loeschen "L.+schvorgang best.+tigen" delete.png
shot ordner "Ordner erstellen" newfolder.png
shot attribute "Dateieigenschaften ver.+ndern" attributes.png
shot umbenennen "Datei umbenennen" rename.png
shot liste "Zu kopierende Datei\(en\)" listeditor.png
shot sammelkorb "Inhalt des Sammelkorbes" basket.png
shot dos "Parameter .+bergeben" dosline.png
shot verknuepfungen "Fortschritt beim Verkn.+pfungen erstellen" linkprogress.png
shot speicherbedarf "Tats.+chlicher Speicherbedarf" spaceneeded.png
shot volumen "Datentr.+ger-Information" volume.png
shot volumen2 "Datentr.+ger-Information" volume2.png 8
shot benennen "Datentr.+ger benennen" volumelabel.png
shot teilen "Datei teilen" split.png
shot gehezu "Gehe zu" goto.png
shot teilenlaeuft "Fortschritt beim Datei teilen" splitrunning.png 2
for i in 0 1 2 3 4 5 6; do shot optionen$i "Optionen und Einstellungen" options$i.png; done
shot packer "Externe Packer konfiguerieren" packers.png
shot exittools "Und-Tsch.+s-Tools konfigurieren" exittools.png
shot doclist "Dokumentenliste bearbeiten" doclist.png 2
echo "Screenshots in $out"
