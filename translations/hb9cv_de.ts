<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="cs">
<context>
    <name>AboutBox</name>
    <message>
        <source>&lt;h3&gt;HB9CV %1&lt;/h3&gt;&lt;p&gt;Výpočet rozměrů dvouprvkové antény typu HB9CV z jejího kmitočtu, s tiskovou sestavou a simulací navržené antény idealizovaným modelem NEC-2.&lt;/p&gt;&lt;p&gt;Licence: GNU General Public License, verze 2 nebo pozdější (GPL-2.0-or-later).&lt;/p&gt;&lt;p&gt;Používá knihovny Qt %2 (včetně Qt Charts), libjpeg a libUEMF; simulaci počítá program nec2c (NEC-2)%3.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;HB9CV %1&lt;/h3&gt;&lt;p&gt;Berechnet die Abmessungen einer zweielementigen HB9CV-Antenne aus ihrer Frequenz, mit Druckbericht und einer Simulation des Entwurfs an einem idealisierten NEC-2-Modell.&lt;/p&gt;&lt;p&gt;Lizenz: GNU General Public License, Version 2 oder später (GPL-2.0-or-later).&lt;/p&gt;&lt;p&gt;Verwendet die Bibliotheken Qt %2 (mit Qt Charts), libjpeg und libUEMF; die Simulation rechnet das Programm nec2c (NEC-2)%3.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>, který není nainstalován (balíček nec2c)</source>
        <translation>, das nicht installiert ist (Paket nec2c)</translation>
    </message>
    <message>
        <source>O aplikaci</source>
        <translation>Über</translation>
    </message>
</context>
<context>
    <name>AntennaForm</name>
    <message>
        <source>Popis antény HB9CV</source>
        <translation>Beschreibung der HB9CV-Antenne</translation>
    </message>
    <message>
        <source>volný prostor</source>
        <translation>Freiraum</translation>
    </message>
    <message>
        <source>&amp;Průměr prvků [mm]:</source>
        <translation>Element&amp;durchmesser [mm]:</translation>
    </message>
    <message>
        <source>&amp;Výška nad zemí [m]:</source>
        <translation>&amp;Höhe über Grund [m]:</translation>
    </message>
    <message>
        <source>&amp;Simulovat</source>
        <translation>&amp;Simulieren</translation>
    </message>
    <message>
        <source>&amp;Uložit grafy…</source>
        <translation>Diagramme s&amp;peichern…</translation>
    </message>
    <message>
        <source>Simuluje se (nec2c)…</source>
        <translation>Simulation läuft (nec2c)…</translation>
    </message>
    <message>
        <source>Simulace se nezdařila: %1</source>
        <translation>Die Simulation ist fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Uložit grafy</source>
        <translation>Diagramme speichern</translation>
    </message>
    <message>
        <source>Obrázky PNG a SVG (*.png *.svg)</source>
        <translation>PNG- und SVG-Bilder (*.png *.svg)</translation>
    </message>
    <message>
        <source>%1 až %2 MHz</source>
        <translation>%1 bis %2 MHz</translation>
    </message>
    <message>
        <source>pod</source>
        <translation>unter</translation>
    </message>
    <message>
        <source>nad</source>
        <translation>über</translation>
    </message>
    <message>
        <source>Zisk vpřed</source>
        <translation>Gewinn vorwärts</translation>
    </message>
    <message>
        <source>Předozadní poměr</source>
        <translation>Vor-Rück-Verhältnis</translation>
    </message>
    <message>
        <source>Poměr vpřed / vzad (nejsilnější zadní lalok)</source>
        <translation>Vorwärts-/Rückwärtsverhältnis (stärkste rückwärtige Keule)</translation>
    </message>
    <message>
        <source>Šířka svazku −3 dB v rovině prvků</source>
        <translation>−3-dB-Öffnungswinkel in der Elementebene</translation>
    </message>
    <message>
        <source>Šířka svazku −3 dB kolmo k prvkům</source>
        <translation>−3-dB-Öffnungswinkel senkrecht zu den Elementen</translation>
    </message>
    <message>
        <source>Nejlepší předozadní poměr na</source>
        <translation>Bestes Vor-Rück-Verhältnis bei</translation>
    </message>
    <message>
        <source>Pásmo PSV ≤ 2 (přizpůsobeno na návrhovém kmitočtu)</source>
        <translation>Bereich SWV ≤ 2 (angepasst auf der Entwurfsfrequenz)</translation>
    </message>
    <message>
        <source>Vyzařovací úhel</source>
        <translation>Erhebungswinkel</translation>
    </message>
    <message>
        <source>Pro průměr %1 mm: zářič Z %2 mm (návrh %3 mm), reflektor R %4 mm (návrh %5 mm); RZ, x, Tz a Tr beze změny.</source>
        <translation>Für %1 mm Durchmesser: Strahler Z %2 mm (Entwurf %3 mm), Reflektor R %4 mm (Entwurf %5 mm); RZ, x, Tz und Tr unverändert.</translation>
    </message>
    <message>
        <source>nad průměrnou zemí ve výšce %1 m</source>
        <translation>über durchschnittlichem Boden in %1 m Höhe</translation>
    </message>
    <message>
        <source>ve volném prostoru</source>
        <translation>im Freiraum</translation>
    </message>
    <message>
        <source>Idealizovaný model (NEC-2), %1 MHz, průměr prvků %2 mm, %3</source>
        <translation>Idealisiertes Modell (NEC-2), %1 MHz, Elementdurchmesser %2 mm, %3</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;HB9CV&lt;/b&gt; je dvouprvková směrová anténa: &lt;b&gt;zářič Z&lt;/b&gt; a o něco delší &lt;b&gt;reflektor R&lt;/b&gt; na jednom ráhnu ve vzdálenosti &lt;b&gt;RZ&lt;/b&gt; (asi osmina vlnové délky). Napájeny jsou oba prvky: koaxiální kabel je připojen ke svorkám X a X&apos; u zářiče a &lt;b&gt;fázovací vedení&lt;/b&gt; vede od zářiče k reflektoru, mezi nimi překřížené. Překřížení a délka vedení posunou proud reflektoru asi o 135°, takže se pole obou prvků sčítají směrem k zářiči a dozadu se ruší.&lt;/p&gt;&lt;p&gt;&lt;b&gt;x&lt;/b&gt; je vzdálenost vedení od zářiče; vedení a prvek tvoří krátký úsek vedení, jehož impedanci určuje. &lt;b&gt;Tz&lt;/b&gt; a &lt;b&gt;Tr&lt;/b&gt; jsou odbočky vedení na zářiči a na reflektoru, měřené od ráhna: posouváním odboček se mění impedance, kterou vedení na prvcích vidí, a tím přizpůsobení ke kabelu a rozdělení proudů.&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;HB9CV&lt;/b&gt; ist eine zweielementige Richtantenne: ein &lt;b&gt;Strahler Z&lt;/b&gt; und ein etwas längerer &lt;b&gt;Reflektor R&lt;/b&gt; auf einem Boom im Abstand &lt;b&gt;RZ&lt;/b&gt; (etwa ein Achtel der Wellenlänge). Beide Elemente werden gespeist: das Koaxialkabel liegt an den Klemmen X und X&apos; am Strahler, und eine &lt;b&gt;Phasenleitung&lt;/b&gt; führt vom Strahler zum Reflektor, dazwischen gekreuzt. Kreuzung und Länge der Leitung verschieben den Strom des Reflektors um etwa 135°, so dass sich die Felder beider Elemente zum Strahler hin addieren und nach hinten auslöschen.&lt;/p&gt;&lt;p&gt;&lt;b&gt;x&lt;/b&gt; ist der Abstand der Leitung vom Strahler; Leitung und Element bilden ein kurzes Leitungsstück, dessen Impedanz er bestimmt. &lt;b&gt;Tz&lt;/b&gt; und &lt;b&gt;Tr&lt;/b&gt; sind die Abgriffe der Leitung am Strahler und am Reflektor, vom Boom aus gemessen: Verschieben der Abgriffe ändert die Impedanz, die die Leitung an den Elementen sieht, und damit die Anpassung an das Kabel und die Aufteilung der Ströme.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>Charts</name>
    <message>
        <source>Azimut (dBi)</source>
        <translation>Azimut (dBi)</translation>
    </message>
    <message>
        <source>Elevace (dBi)</source>
        <translation>Elevation (dBi)</translation>
    </message>
    <message>
        <source>Kmitočet (MHz)</source>
        <translation>Frequenz (MHz)</translation>
    </message>
    <message>
        <source>zisk dBi</source>
        <translation>Gewinn dBi</translation>
    </message>
    <message>
        <source>předozadní dB</source>
        <translation>Vor-Rück dB</translation>
    </message>
    <message>
        <source>PSV</source>
        <translation>SWV</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Usage: hb9cv [OPTION]...
Computes the dimensions of a two-element HB9CV antenna for one frequency.
Without options the program opens its window.

  --compute FREQ   compute for FREQ megahertz: up to four digits, then &quot;,&quot;
                   or &quot;.&quot; and up to three decimals (145, 145,5, 0145.500);
                   may be repeated
  --json           print the values as JSON instead of name&lt;TAB&gt;text lines
  --pdf FILE       write the report page as a PDF file
  --report FILE    write the report file (.QRP) that the preview window loads
  --print[=QUEUE]  print the report page on the default or the named printer
  --simulate       simulate the design with nec2c (idealised NEC-2 model)
  --diameter MM    element diameter for --simulate and --nec; with --simulate
                   also the element lengths corrected for it
  --height M       height above average ground (default: free space)
  --nec FILE       write the model as a NEC-2 deck
  -h, --help       show this help and exit
      --version    show the version and exit

--pdf, --report and --print take a single --compute. Exit status: 0 on success,
1 when a frequency is refused or an output fails, 2 for a wrong command line.
</source>
        <translation>Aufruf: hb9cv [OPTION]...
Berechnet die Abmessungen einer zweielementigen HB9CV-Antenne für eine Frequenz.
Ohne Optionen öffnet das Programm sein Fenster.

  --compute FREQ   für FREQ Megahertz rechnen: bis zu vier Ziffern, dann &quot;,&quot;
                   oder &quot;.&quot; und bis zu drei Nachkommastellen
                   (145, 145,5, 0145.500); darf wiederholt werden
  --json           die Werte als JSON statt als Zeilen Name&lt;TAB&gt;Text ausgeben
  --pdf DATEI      die Berichtsseite als PDF-Datei schreiben
  --report DATEI   die Berichtsdatei (.QRP) schreiben, die die Vorschau lädt
  --print[=DRUCKER]
                   die Seite auf dem Standarddrucker oder auf DRUCKER drucken
  --simulate       den Entwurf mit nec2c simulieren (idealisiertes NEC-2-Modell)
  --diameter MM    Elementdurchmesser für --simulate und --nec; mit --simulate
                   auch die dafür korrigierten Elementlängen
  --height M       Höhe über durchschnittlichem Boden (Vorgabe: Freiraum)
  --nec DATEI      das Modell als NEC-2-Eingabedatei schreiben
  -h, --help       diese Hilfe zeigen und beenden
      --version    die Version zeigen und beenden

--pdf, --report und --print nehmen nur ein einziges --compute. Exit-Status:
0 bei Erfolg, 1 wenn eine Frequenz abgelehnt wird oder eine Ausgabe fehlschlägt,
2 bei einer falschen Befehlszeile.
</translation>
    </message>
    <message>
        <source>Try &apos;hb9cv --help&apos; for more information.</source>
        <translation>Mehr dazu mit &apos;hb9cv --help&apos;.</translation>
    </message>
</context>
<context>
    <name>Dimensions</name>
    <message>
        <source>Průměr %1 až %2 mm</source>
        <translation>Durchmesser %1 bis %2 mm</translation>
    </message>
</context>
<context>
    <name>Errors</name>
    <message>
        <source>The dimensions cannot be computed for %1 MHz</source>
        <translation>Die Abmessungen können für %1 MHz nicht berechnet werden</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid floating point value</source>
        <translation>&apos;%1&apos; ist keine gültige Gleitkommazahl</translation>
    </message>
    <message>
        <source>No page to draw on</source>
        <translation>Keine Seite zum Zeichnen</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>es ist ein Ordner</translation>
    </message>
    <message>
        <source>nothing was printed</source>
        <translation>es wurde nichts gedruckt</translation>
    </message>
    <message>
        <source>The report was not built</source>
        <translation>Der Bericht wurde nicht erstellt</translation>
    </message>
    <message>
        <source>No printer is installed</source>
        <translation>Kein Drucker installiert</translation>
    </message>
    <message>
        <source>Unknown printer %1</source>
        <translation>Unbekannter Drucker %1</translation>
    </message>
    <message>
        <source>QRPrinter not ready</source>
        <translation>QRPrinter nicht bereit</translation>
    </message>
    <message>
        <source>Illegal call to NewPage</source>
        <translation>Unzulässiger Aufruf von NewPage</translation>
    </message>
    <message>
        <source>Printer not ready: %1</source>
        <translation>Drucker nicht bereit: %1</translation>
    </message>
    <message>
        <source>Report too large for the page stream</source>
        <translation>Bericht zu groß für den Seitenstrom</translation>
    </message>
    <message>
        <source>Invalid report file %1</source>
        <translation>Ungültige Berichtsdatei %1</translation>
    </message>
    <message>
        <source>Compressed report file %1 is not supported</source>
        <translation>Komprimierte Berichtsdatei %1 wird nicht unterstützt</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Datei %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation>Datei %1 kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Cannot write file %1</source>
        <translation>Datei %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a frequency: expected up to four digits, then &apos;,&apos; or &apos;.&apos; and up to three decimals</source>
        <translation>&apos;%1&apos; ist keine Frequenz: erwartet werden bis zu vier Ziffern, dann &apos;,&apos; oder &apos;.&apos; und bis zu drei Nachkommastellen</translation>
    </message>
    <message>
        <source>&apos;%1&apos; has more than four integer digits (the most is 9999%2999 MHz)</source>
        <translation>&apos;%1&apos; hat mehr als vier Vorkommastellen (höchstens 9999%2999 MHz)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; has more than three decimals (the finest step is 0%2001 MHz)</source>
        <translation>&apos;%1&apos; hat mehr als drei Nachkommastellen (feinster Schritt 0%2001 MHz)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is zero: there is nothing to compute</source>
        <translation>&apos;%1&apos; ist null: es gibt nichts zu berechnen</translation>
    </message>
    <message>
        <source>cannot write to standard output</source>
        <translation>Standardausgabe kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
    <message>
        <source>Invalid input value.  Use escape key to abandon changes</source>
        <translation>Ungültige Eingabe.  Mit der Esc-Taste werden die Änderungen verworfen</translation>
    </message>
    <message>
        <source>The element diameter must be above 0 mm and below half the spacing (%1 mm)</source>
        <translation>Der Elementdurchmesser muss über 0 mm und unter dem halben Abstand (%1 mm) liegen</translation>
    </message>
    <message>
        <source>The height above ground must be above 0 m and at most 1000 m</source>
        <translation>Die Höhe über Grund muss über 0 m und höchstens 1000 m betragen</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid diameter in mm</source>
        <translation>&apos;%1&apos; ist kein gültiger Durchmesser in mm</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid height in m</source>
        <translation>&apos;%1&apos; ist keine gültige Höhe in m</translation>
    </message>
    <message>
        <source>&apos;%1&apos; could not be written</source>
        <translation>&apos;%1&apos; konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Invalid floating point operation</source>
        <translation>Ungültige Gleitkommaoperation</translation>
    </message>
    <message>
        <source>Floating point overflow</source>
        <translation>Gleitkommaüberlauf</translation>
    </message>
    <message>
        <source>Floating point division by zero</source>
        <translation>Gleitkommadivision durch null</translation>
    </message>
    <message>
        <source>nec2c wrote a line that cannot be read: &apos;%1&apos;</source>
        <translation>nec2c hat eine Zeile geschrieben, die nicht gelesen werden kann: &apos;%1&apos;</translation>
    </message>
    <message>
        <source>nec2c wrote an input-parameter row of %1 fields</source>
        <translation>nec2c hat eine Zeile der Eingangsparameter mit %1 Feldern geschrieben</translation>
    </message>
    <message>
        <source>nec2c wrote a pattern row of %1 fields</source>
        <translation>nec2c hat eine Zeile des Strahlungsdiagramms mit %1 Feldern geschrieben</translation>
    </message>
    <message>
        <source>The NEC-2 engine nec2c was not found: install the Debian package nec2c</source>
        <translation>Das NEC-2-Rechenprogramm nec2c wurde nicht gefunden: bitte das Debian-Paket nec2c installieren</translation>
    </message>
    <message>
        <source>No temporary folder for nec2c: %1</source>
        <translation>Kein temporärer Ordner für nec2c: %1</translation>
    </message>
    <message>
        <source>The NEC-2 deck could not be written: %1</source>
        <translation>Die NEC-2-Eingabedatei konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>nec2c could not be started: %1</source>
        <translation>nec2c konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>nec2c did not finish within %1 s and was stopped</source>
        <translation>nec2c ist nicht innerhalb von %1 s fertig geworden und wurde abgebrochen</translation>
    </message>
    <message>
        <source>exit status %1</source>
        <translation>Exit-Status %1</translation>
    </message>
    <message>
        <source>nec2c failed: %1</source>
        <translation>nec2c ist fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>nec2c wrote no output</source>
        <translation>nec2c hat keine Ausgabe geschrieben</translation>
    </message>
    <message>
        <source>nec2c&apos;s output is incomplete: %1 of %2 frequencies, %3 of %4 patterns</source>
        <translation>Die Ausgabe von nec2c ist unvollständig: %1 von %2 Frequenzen, %3 von %4 Diagrammen</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>unbekannte Option &apos;%1&apos;</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; needs a value</source>
        <translation>Option &apos;%1&apos; braucht einen Wert</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>unerwartetes Argument &apos;%1&apos;</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; takes no value</source>
        <translation>Option &apos;%1&apos; nimmt keinen Wert</translation>
    </message>
    <message>
        <source>option &apos;%1&apos;: no file name given</source>
        <translation>Option &apos;%1&apos;: kein Dateiname angegeben</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; needs --compute</source>
        <translation>Option &apos;%1&apos; braucht --compute</translation>
    </message>
    <message>
        <source>--pdf, --report and --print take a single --compute</source>
        <translation>--pdf, --report und --print nehmen nur ein einziges --compute</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; given twice</source>
        <translation>Option &apos;%1&apos; zweimal angegeben</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; needs --simulate or --nec</source>
        <translation>Option &apos;%1&apos; braucht --simulate oder --nec</translation>
    </message>
    <message>
        <source>--simulate and --nec take a single --compute</source>
        <translation>--simulate und --nec nehmen nur ein einziges --compute</translation>
    </message>
    <message>
        <source>--simulate and --nec do not go with --pdf, --report or --print</source>
        <translation>--simulate und --nec gehen nicht zusammen mit --pdf, --report oder --print</translation>
    </message>
</context>
<context>
    <name>Preview</name>
    <message>
        <source>Page</source>
        <translation>Seite</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>Druckvorschau</translation>
    </message>
    <message>
        <source>Zoom to fit</source>
        <translation>Ganze Seite</translation>
    </message>
    <message>
        <source>100%</source>
        <translation>100%</translation>
    </message>
    <message>
        <source>Zoom to width</source>
        <translation>Seitenbreite</translation>
    </message>
    <message>
        <source>First page</source>
        <translation>Erste Seite</translation>
    </message>
    <message>
        <source>Previous page</source>
        <translation>Vorige Seite</translation>
    </message>
    <message>
        <source>Next page</source>
        <translation>Nächste Seite</translation>
    </message>
    <message>
        <source>Last page</source>
        <translation>Letzte Seite</translation>
    </message>
    <message>
        <source>Printer setup</source>
        <translation>Druckereinrichtung</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Save Report</source>
        <translation>Bericht speichern</translation>
    </message>
    <message>
        <source>Load Report</source>
        <translation>Bericht laden</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Report file</source>
        <translation>Berichtsdatei</translation>
    </message>
    <message>
        <source>PDF file</source>
        <translation>PDF-Datei</translation>
    </message>
    <message>
        <source>Save report</source>
        <translation>Bericht speichern</translation>
    </message>
    <message>
        <source>Load report</source>
        <translation>Bericht laden</translation>
    </message>
    <message>
        <source>File does not exist</source>
        <translation>Datei existiert nicht</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
</context>
<context>
    <name>Progress</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Printing progress</source>
        <translation>Druckfortschritt</translation>
    </message>
    <message>
        <source>%1%  Completed</source>
        <translation>%1%  erledigt</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Vlnová délka :</source>
        <translation>Wellenlänge :</translation>
    </message>
    <message>
        <source>Vlnová délka</source>
        <translation>Wellenlänge</translation>
    </message>
    <message>
        <source>Směr       vyzařování</source>
        <translation>Haupt-       strahlrichtung</translation>
    </message>
    <message>
        <source>Zářič</source>
        <translation>Strahler</translation>
    </message>
    <message>
        <source>Délka zářiče</source>
        <translation>Länge des Strahlers</translation>
    </message>
    <message>
        <source>Reflektor</source>
        <translation>Reflektor</translation>
    </message>
    <message>
        <source>Délka reflektoru</source>
        <translation>Länge des Reflektors</translation>
    </message>
    <message>
        <source>Vzdálenost reflektoru od zářiče</source>
        <translation>Abstand zwischen Reflektor und Strahler</translation>
    </message>
    <message>
        <source>Vzdálenost x napájecího vedení od zářiče</source>
        <translation>Abstand x der Phasenleitung vom Strahler</translation>
    </message>
    <message>
        <source>Odbočka Tz na zářiči</source>
        <translation>Abgriff Tz am Strahler</translation>
    </message>
    <message>
        <source>Odbočka Tr na reflektoru</source>
        <translation>Abgriff Tr am Reflektor</translation>
    </message>
    <message>
        <source>Průměr prvků</source>
        <translation>Elementdurchmesser</translation>
    </message>
    <message>
        <source>Svorky X a X&apos; slouží k připojení koaxiálního kabelu,</source>
        <translation>Klemmen X und X&apos;: Anschluss des Koaxialkabels,</translation>
    </message>
    <message>
        <source>X&apos; - střední vodič, X - opletení.</source>
        <translation>X&apos; - Innenleiter, X - Abschirmung.</translation>
    </message>
    <message>
        <source>Výpočet rozměrů antény typu HB9CV</source>
        <translation>Abmessungen einer HB9CV-Antenne</translation>
    </message>
    <message>
        <source>Vlož kmitočet =</source>
        <translation>Frequenz =</translation>
    </message>
    <message>
        <source>Kmitočet v MHz</source>
        <translation>Frequenz in MHz</translation>
    </message>
    <message>
        <source>&amp;Počítej</source>
        <translation>&amp;Berechnen</translation>
    </message>
    <message>
        <source>&amp;Nový</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Tisk</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>P&amp;opis antény</source>
        <translation>&amp;Antennenbeschreibung</translation>
    </message>
    <message>
        <source>O &amp;aplikaci</source>
        <translation>&amp;Über</translation>
    </message>
    <message>
        <source>&amp;Konec</source>
        <translation>B&amp;eenden</translation>
    </message>
</context>
<context>
    <name>TForm3</name>
    <message>
        <source>Dělění &quot;0&quot;, ty vole ...</source>
        <translation>Teilen durch &quot;0&quot; ...</translation>
    </message>
    <message>
        <source>&amp;Znovu</source>
        <translation>&amp;Nochmal</translation>
    </message>
</context>
<context>
    <name>TPrintForm</name>
    <message>
        <source>Výpočet rozměrů antény typu HB9CV</source>
        <translation>Abmessungen einer HB9CV-Antenne</translation>
    </message>
    <message>
        <source>pro střední kmitočet :</source>
        <translation>für Mittenfrequenz :</translation>
    </message>
    <message>
        <source>Průměr</source>
        <translation>Durchmesser</translation>
    </message>
    <message>
        <source>Připojení koaxiálního napáječe na svorky X a X&apos;. Opletení koaxiálu na &quot; X &quot;, střední vodič na &quot; X&apos; &quot;.</source>
        <translation>Koaxialkabel an die Klemmen X und X&apos; anschließen: Abschirmung an &quot; X &quot;, Innenleiter an &quot; X&apos; &quot;.</translation>
    </message>
    <message>
        <source>Impedance koaxiálu je 75 Ohmů, v případě použití koaxiálu s impedancí 50 Ohmů se PSV může</source>
        <translation>Die Impedanz des Koaxialkabels ist 75 Ohm; bei einem Koaxialkabel mit 50 Ohm kann sich das SWV</translation>
    </message>
    <message>
        <source>změnit o hodnotu 0,3. Je možné jemné doladění posunem napájecího vedení &quot;Tz&quot; a &quot;Tr&quot;, případně</source>
        <translation>um 0,3 ändern. Feinabgleich durch Verschieben der Abgriffe &quot;Tz&quot; und &quot;Tr&quot; der Phasenleitung</translation>
    </message>
    <message>
        <source>úpravou vzdálenosti &quot; x &quot;. Někteží dokonce doporučují mezi svorku X&apos; a střední vodič koaxiálu vřadit</source>
        <translation>oder des Abstands &quot; x &quot;. Manche empfehlen sogar einen Drehkondensator (5 - 50 pF) zwischen X&apos; und</translation>
    </message>
    <message>
        <source>proměnnou kapacitu (5 - 50 pF) a tou nastavit &quot;ideální stav&quot;, ale to se nikdy v praxi neosvědčilo.</source>
        <translation>Innenleiter, um den &quot;Idealzustand&quot; einzustellen, aber das hat sich in der Praxis nie bewährt.</translation>
    </message>
    <message>
        <source>Směr vyzařování</source>
        <translation>Hauptstrahlrichtung</translation>
    </message>
</context>
<context>
    <name>Web</name>
    <message>
        <source>&amp;Zavřít</source>
        <translation>&amp;Schließen</translation>
    </message>
</context>
</TS>
