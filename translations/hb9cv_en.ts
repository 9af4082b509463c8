<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="cs">
<context>
    <name>AboutBox</name>
    <message>
        <source>&lt;h3&gt;HB9CV %1&lt;/h3&gt;&lt;p&gt;Výpočet rozměrů dvouprvkové antény typu HB9CV z jejího kmitočtu, s tiskovou sestavou a simulací navržené antény idealizovaným modelem NEC-2.&lt;/p&gt;&lt;p&gt;Licence: GNU General Public License, verze 2 nebo pozdější (GPL-2.0-or-later).&lt;/p&gt;&lt;p&gt;Používá knihovny Qt %2 (včetně Qt Charts), libjpeg a libUEMF; simulaci počítá program nec2c (NEC-2)%3.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;HB9CV %1&lt;/h3&gt;&lt;p&gt;Computes the dimensions of a two-element HB9CV antenna from its frequency, with a printed report and a simulation of the design on an idealised NEC-2 model.&lt;/p&gt;&lt;p&gt;Licence: GNU General Public License, version 2 or later (GPL-2.0-or-later).&lt;/p&gt;&lt;p&gt;Uses the libraries Qt %2 (with Qt Charts), libjpeg and libUEMF; the simulation is computed by the program nec2c (NEC-2)%3.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>, který není nainstalován (balíček nec2c)</source>
        <translation>, which is not installed (package nec2c)</translation>
    </message>
    <message>
        <source>O aplikaci</source>
        <translation>About</translation>
    </message>
</context>
<context>
    <name>AntennaForm</name>
    <message>
        <source>Popis antény HB9CV</source>
        <translation>HB9CV antenna description</translation>
    </message>
    <message>
        <source>volný prostor</source>
        <translation>free space</translation>
    </message>
    <message>
        <source>&amp;Průměr prvků [mm]:</source>
        <translation>Element &amp;diameter [mm]:</translation>
    </message>
    <message>
        <source>&amp;Výška nad zemí [m]:</source>
        <translation>&amp;Height above ground [m]:</translation>
    </message>
    <message>
        <source>&amp;Simulovat</source>
        <translation>&amp;Simulate</translation>
    </message>
    <message>
        <source>&amp;Uložit grafy…</source>
        <translation>Sa&amp;ve charts…</translation>
    </message>
    <message>
        <source>Simuluje se (nec2c)…</source>
        <translation>Simulating (nec2c)…</translation>
    </message>
    <message>
        <source>Simulace se nezdařila: %1</source>
        <translation>The simulation failed: %1</translation>
    </message>
    <message>
        <source>Uložit grafy</source>
        <translation>Save charts</translation>
    </message>
    <message>
        <source>Obrázky PNG a SVG (*.png *.svg)</source>
        <translation>PNG and SVG images (*.png *.svg)</translation>
    </message>
    <message>
        <source>%1 až %2 MHz</source>
        <translation>%1 to %2 MHz</translation>
    </message>
    <message>
        <source>pod</source>
        <translation>below</translation>
    </message>
    <message>
        <source>nad</source>
        <translation>above</translation>
    </message>
    <message>
        <source>Zisk vpřed</source>
        <translation>Forward gain</translation>
    </message>
    <message>
        <source>Předozadní poměr</source>
        <translation>Front-to-back ratio</translation>
    </message>
    <message>
        <source>Poměr vpřed / vzad (nejsilnější zadní lalok)</source>
        <translation>Front-to-rear ratio (strongest rear lobe)</translation>
    </message>
    <message>
        <source>Šířka svazku −3 dB v rovině prvků</source>
        <translation>−3 dB beamwidth in the plane of the elements</translation>
    </message>
    <message>
        <source>Šířka svazku −3 dB kolmo k prvkům</source>
        <translation>−3 dB beamwidth across the elements</translation>
    </message>
    <message>
        <source>Nejlepší předozadní poměr na</source>
        <translation>Best front-to-back ratio at</translation>
    </message>
    <message>
        <source>Pásmo PSV ≤ 2 (přizpůsobeno na návrhovém kmitočtu)</source>
        <translation>SWR ≤ 2 band (matched at the design frequency)</translation>
    </message>
    <message>
        <source>Vyzařovací úhel</source>
        <translation>Elevation angle</translation>
    </message>
    <message>
        <source>Pro průměr %1 mm: zářič Z %2 mm (návrh %3 mm), reflektor R %4 mm (návrh %5 mm); RZ, x, Tz a Tr beze změny.</source>
        <translation>For a diameter of %1 mm: radiator Z %2 mm (design %3 mm), reflector R %4 mm (design %5 mm); RZ, x, Tz and Tr unchanged.</translation>
    </message>
    <message>
        <source>nad průměrnou zemí ve výšce %1 m</source>
        <translation>over average ground at a height of %1 m</translation>
    </message>
    <message>
        <source>ve volném prostoru</source>
        <translation>in free space</translation>
    </message>
    <message>
        <source>Idealizovaný model (NEC-2), %1 MHz, průměr prvků %2 mm, %3</source>
        <translation>Idealised model (NEC-2), %1 MHz, element diameter %2 mm, %3</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;HB9CV&lt;/b&gt; je dvouprvková směrová anténa: &lt;b&gt;zářič Z&lt;/b&gt; a o něco delší &lt;b&gt;reflektor R&lt;/b&gt; na jednom ráhnu ve vzdálenosti &lt;b&gt;RZ&lt;/b&gt; (asi osmina vlnové délky). Napájeny jsou oba prvky: koaxiální kabel je připojen ke svorkám X a X&apos; u zářiče a &lt;b&gt;fázovací vedení&lt;/b&gt; vede od zářiče k reflektoru, mezi nimi překřížené. Překřížení a délka vedení posunou proud reflektoru asi o 135°, takže se pole obou prvků sčítají směrem k zářiči a dozadu se ruší.&lt;/p&gt;&lt;p&gt;&lt;b&gt;x&lt;/b&gt; je vzdálenost vedení od zářiče; vedení a prvek tvoří krátký úsek vedení, jehož impedanci určuje. &lt;b&gt;Tz&lt;/b&gt; a &lt;b&gt;Tr&lt;/b&gt; jsou odbočky vedení na zářiči a na reflektoru, měřené od ráhna: posouváním odboček se mění impedance, kterou vedení na prvcích vidí, a tím přizpůsobení ke kabelu a rozdělení proudů.&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;HB9CV&lt;/b&gt; is a two-element beam: a &lt;b&gt;radiator Z&lt;/b&gt; and a slightly longer &lt;b&gt;reflector R&lt;/b&gt; on one boom, &lt;b&gt;RZ&lt;/b&gt; apart (about an eighth of a wavelength). Both elements are fed: the coax is connected to terminals X and X&apos; at the radiator, and a &lt;b&gt;phasing line&lt;/b&gt; runs from the radiator to the reflector, crossed between them. The crossing and the length of the line shift the reflector&apos;s current by about 135°, so the fields of both elements add up towards the radiator and cancel to the rear.&lt;/p&gt;&lt;p&gt;&lt;b&gt;x&lt;/b&gt; is the distance of the line from the radiator; line and element form a short piece of transmission line whose impedance it sets. &lt;b&gt;Tz&lt;/b&gt; and &lt;b&gt;Tr&lt;/b&gt; are the line&apos;s taps on the radiator and on the reflector, measured from the boom: moving the taps changes the impedance the line sees on the elements, and with it the match to the coax and the sharing of the currents.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>Charts</name>
    <message>
        <source>Azimut (dBi)</source>
        <translation>Azimuth (dBi)</translation>
    </message>
    <message>
        <source>Elevace (dBi)</source>
        <translation>Elevation (dBi)</translation>
    </message>
    <message>
        <source>Kmitočet (MHz)</source>
        <translation>Frequency (MHz)</translation>
    </message>
    <message>
        <source>zisk dBi</source>
        <translation>gain dBi</translation>
    </message>
    <message>
        <source>předozadní dB</source>
        <translation>front-to-back dB</translation>
    </message>
    <message>
        <source>PSV</source>
        <translation>SWR</translation>
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
        <translation>Usage: hb9cv [OPTION]...
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
</translation>
    </message>
    <message>
        <source>Try &apos;hb9cv --help&apos; for more information.</source>
        <translation>Try &apos;hb9cv --help&apos; for more information.</translation>
    </message>
</context>
<context>
    <name>Dimensions</name>
    <message>
        <source>Průměr %1 až %2 mm</source>
        <translation>Diameter %1 to %2 mm</translation>
    </message>
</context>
<context>
    <name>Errors</name>
    <message>
        <source>The dimensions cannot be computed for %1 MHz</source>
        <translation>The dimensions cannot be computed for %1 MHz</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid floating point value</source>
        <translation>&apos;%1&apos; is not a valid floating point value</translation>
    </message>
    <message>
        <source>No page to draw on</source>
        <translation>No page to draw on</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>nothing was printed</source>
        <translation>nothing was printed</translation>
    </message>
    <message>
        <source>The report was not built</source>
        <translation>The report was not built</translation>
    </message>
    <message>
        <source>No printer is installed</source>
        <translation>No printer is installed</translation>
    </message>
    <message>
        <source>Unknown printer %1</source>
        <translation>Unknown printer %1</translation>
    </message>
    <message>
        <source>QRPrinter not ready</source>
        <translation>QRPrinter not ready</translation>
    </message>
    <message>
        <source>Illegal call to NewPage</source>
        <translation>Illegal call to NewPage</translation>
    </message>
    <message>
        <source>Printer not ready: %1</source>
        <translation>Printer not ready: %1</translation>
    </message>
    <message>
        <source>Report too large for the page stream</source>
        <translation>Report too large for the page stream</translation>
    </message>
    <message>
        <source>Invalid report file %1</source>
        <translation>Invalid report file %1</translation>
    </message>
    <message>
        <source>Compressed report file %1 is not supported</source>
        <translation>Compressed report file %1 is not supported</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Cannot create file %1</translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation>Cannot open file %1</translation>
    </message>
    <message>
        <source>Cannot write file %1</source>
        <translation>Cannot write file %1</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a frequency: expected up to four digits, then &apos;,&apos; or &apos;.&apos; and up to three decimals</source>
        <translation>&apos;%1&apos; is not a frequency: expected up to four digits, then &apos;,&apos; or &apos;.&apos; and up to three decimals</translation>
    </message>
    <message>
        <source>&apos;%1&apos; has more than four integer digits (the most is 9999%2999 MHz)</source>
        <translation>&apos;%1&apos; has more than four integer digits (the most is 9999%2999 MHz)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; has more than three decimals (the finest step is 0%2001 MHz)</source>
        <translation>&apos;%1&apos; has more than three decimals (the finest step is 0%2001 MHz)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is zero: there is nothing to compute</source>
        <translation>&apos;%1&apos; is zero: there is nothing to compute</translation>
    </message>
    <message>
        <source>cannot write to standard output</source>
        <translation>cannot write to standard output</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unknown error</translation>
    </message>
    <message>
        <source>Invalid input value.  Use escape key to abandon changes</source>
        <translation>Invalid input value.  Use escape key to abandon changes</translation>
    </message>
    <message>
        <source>The element diameter must be above 0 mm and below half the spacing (%1 mm)</source>
        <translation>The element diameter must be above 0 mm and below half the spacing (%1 mm)</translation>
    </message>
    <message>
        <source>The height above ground must be above 0 m and at most 1000 m</source>
        <translation>The height above ground must be above 0 m and at most 1000 m</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid diameter in mm</source>
        <translation>&apos;%1&apos; is not a valid diameter in mm</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid height in m</source>
        <translation>&apos;%1&apos; is not a valid height in m</translation>
    </message>
    <message>
        <source>&apos;%1&apos; could not be written</source>
        <translation>&apos;%1&apos; could not be written</translation>
    </message>
    <message>
        <source>Invalid floating point operation</source>
        <translation>Invalid floating point operation</translation>
    </message>
    <message>
        <source>Floating point overflow</source>
        <translation>Floating point overflow</translation>
    </message>
    <message>
        <source>Floating point division by zero</source>
        <translation>Floating point division by zero</translation>
    </message>
    <message>
        <source>nec2c wrote a line that cannot be read: &apos;%1&apos;</source>
        <translation>nec2c wrote a line that cannot be read: &apos;%1&apos;</translation>
    </message>
    <message>
        <source>nec2c wrote an input-parameter row of %1 fields</source>
        <translation>nec2c wrote an input-parameter row of %1 fields</translation>
    </message>
    <message>
        <source>nec2c wrote a pattern row of %1 fields</source>
        <translation>nec2c wrote a pattern row of %1 fields</translation>
    </message>
    <message>
        <source>The NEC-2 engine nec2c was not found: install the Debian package nec2c</source>
        <translation>The NEC-2 engine nec2c was not found: install the Debian package nec2c</translation>
    </message>
    <message>
        <source>No temporary folder for nec2c: %1</source>
        <translation>No temporary folder for nec2c: %1</translation>
    </message>
    <message>
        <source>The NEC-2 deck could not be written: %1</source>
        <translation>The NEC-2 deck could not be written: %1</translation>
    </message>
    <message>
        <source>nec2c could not be started: %1</source>
        <translation>nec2c could not be started: %1</translation>
    </message>
    <message>
        <source>nec2c did not finish within %1 s and was stopped</source>
        <translation>nec2c did not finish within %1 s and was stopped</translation>
    </message>
    <message>
        <source>exit status %1</source>
        <translation>exit status %1</translation>
    </message>
    <message>
        <source>nec2c failed: %1</source>
        <translation>nec2c failed: %1</translation>
    </message>
    <message>
        <source>nec2c wrote no output</source>
        <translation>nec2c wrote no output</translation>
    </message>
    <message>
        <source>nec2c&apos;s output is incomplete: %1 of %2 frequencies, %3 of %4 patterns</source>
        <translation>nec2c&apos;s output is incomplete: %1 of %2 frequencies, %3 of %4 patterns</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>unknown option &apos;%1&apos;</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; needs a value</source>
        <translation>option &apos;%1&apos; needs a value</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>unexpected argument &apos;%1&apos;</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; takes no value</source>
        <translation>option &apos;%1&apos; takes no value</translation>
    </message>
    <message>
        <source>option &apos;%1&apos;: no file name given</source>
        <translation>option &apos;%1&apos;: no file name given</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; needs --compute</source>
        <translation>option &apos;%1&apos; needs --compute</translation>
    </message>
    <message>
        <source>--pdf, --report and --print take a single --compute</source>
        <translation>--pdf, --report and --print take a single --compute</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; given twice</source>
        <translation>option &apos;%1&apos; given twice</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; needs --simulate or --nec</source>
        <translation>option &apos;%1&apos; needs --simulate or --nec</translation>
    </message>
    <message>
        <source>--simulate and --nec take a single --compute</source>
        <translation>--simulate and --nec take a single --compute</translation>
    </message>
    <message>
        <source>--simulate and --nec do not go with --pdf, --report or --print</source>
        <translation>--simulate and --nec do not go with --pdf, --report or --print</translation>
    </message>
</context>
<context>
    <name>Preview</name>
    <message>
        <source>Page</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>Print Preview</translation>
    </message>
    <message>
        <source>Zoom to fit</source>
        <translation>Zoom to fit</translation>
    </message>
    <message>
        <source>100%</source>
        <translation>100%</translation>
    </message>
    <message>
        <source>Zoom to width</source>
        <translation>Zoom to width</translation>
    </message>
    <message>
        <source>First page</source>
        <translation>First page</translation>
    </message>
    <message>
        <source>Previous page</source>
        <translation>Previous page</translation>
    </message>
    <message>
        <source>Next page</source>
        <translation>Next page</translation>
    </message>
    <message>
        <source>Last page</source>
        <translation>Last page</translation>
    </message>
    <message>
        <source>Printer setup</source>
        <translation>Printer setup</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Save Report</source>
        <translation>Save Report</translation>
    </message>
    <message>
        <source>Load Report</source>
        <translation>Load Report</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Report file</source>
        <translation>Report file</translation>
    </message>
    <message>
        <source>PDF file</source>
        <translation>PDF file</translation>
    </message>
    <message>
        <source>Save report</source>
        <translation>Save report</translation>
    </message>
    <message>
        <source>Load report</source>
        <translation>Load report</translation>
    </message>
    <message>
        <source>File does not exist</source>
        <translation>File does not exist</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Page %1 of %2</translation>
    </message>
</context>
<context>
    <name>Progress</name>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Printing progress</source>
        <translation>Printing progress</translation>
    </message>
    <message>
        <source>%1%  Completed</source>
        <translation>%1%  Completed</translation>
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
        <translation>Wavelength :</translation>
    </message>
    <message>
        <source>Vlnová délka</source>
        <translation>Wavelength</translation>
    </message>
    <message>
        <source>Směr       vyzařování</source>
        <translation>Beam       direction</translation>
    </message>
    <message>
        <source>Zářič</source>
        <translation>Radiator</translation>
    </message>
    <message>
        <source>Délka zářiče</source>
        <translation>Radiator length</translation>
    </message>
    <message>
        <source>Reflektor</source>
        <translation>Reflector</translation>
    </message>
    <message>
        <source>Délka reflektoru</source>
        <translation>Reflector length</translation>
    </message>
    <message>
        <source>Vzdálenost reflektoru od zářiče</source>
        <translation>Spacing of reflector and radiator</translation>
    </message>
    <message>
        <source>Vzdálenost x napájecího vedení od zářiče</source>
        <translation>Distance x of the phasing line from the radiator</translation>
    </message>
    <message>
        <source>Odbočka Tz na zářiči</source>
        <translation>Tap Tz on the radiator</translation>
    </message>
    <message>
        <source>Odbočka Tr na reflektoru</source>
        <translation>Tap Tr on the reflector</translation>
    </message>
    <message>
        <source>Průměr prvků</source>
        <translation>Element diameter</translation>
    </message>
    <message>
        <source>Svorky X a X&apos; slouží k připojení koaxiálního kabelu,</source>
        <translation>Terminals X and X&apos; take the coax cable,</translation>
    </message>
    <message>
        <source>X&apos; - střední vodič, X - opletení.</source>
        <translation>X&apos; - centre conductor, X - braid.</translation>
    </message>
    <message>
        <source>Výpočet rozměrů antény typu HB9CV</source>
        <translation>HB9CV antenna dimensions</translation>
    </message>
    <message>
        <source>Vlož kmitočet =</source>
        <translation>Frequency =</translation>
    </message>
    <message>
        <source>Kmitočet v MHz</source>
        <translation>Frequency in MHz</translation>
    </message>
    <message>
        <source>&amp;Počítej</source>
        <translation>&amp;Compute</translation>
    </message>
    <message>
        <source>&amp;Nový</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>&amp;Tisk</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>P&amp;opis antény</source>
        <translation>Antenna &amp;description</translation>
    </message>
    <message>
        <source>O &amp;aplikaci</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>&amp;Konec</source>
        <translation>E&amp;xit</translation>
    </message>
</context>
<context>
    <name>TForm3</name>
    <message>
        <source>Dělění &quot;0&quot;, ty vole ...</source>
        <translation>Division by &quot;0&quot; ...</translation>
    </message>
    <message>
        <source>&amp;Znovu</source>
        <translation>&amp;Again</translation>
    </message>
</context>
<context>
    <name>TPrintForm</name>
    <message>
        <source>Výpočet rozměrů antény typu HB9CV</source>
        <translation>HB9CV antenna dimensions</translation>
    </message>
    <message>
        <source>pro střední kmitočet :</source>
        <translation>for centre frequency :</translation>
    </message>
    <message>
        <source>Průměr</source>
        <translation>Diameter</translation>
    </message>
    <message>
        <source>Připojení koaxiálního napáječe na svorky X a X&apos;. Opletení koaxiálu na &quot; X &quot;, střední vodič na &quot; X&apos; &quot;.</source>
        <translation>Connect the coax feeder to terminals X and X&apos;. Coax braid to &quot; X &quot;, centre conductor to &quot; X&apos; &quot;.</translation>
    </message>
    <message>
        <source>Impedance koaxiálu je 75 Ohmů, v případě použití koaxiálu s impedancí 50 Ohmů se PSV může</source>
        <translation>The coax impedance is 75 ohms; with a coax of 50 ohms impedance the SWR may change by 0.3.</translation>
    </message>
    <message>
        <source>změnit o hodnotu 0,3. Je možné jemné doladění posunem napájecího vedení &quot;Tz&quot; a &quot;Tr&quot;, případně</source>
        <translation>Fine tuning is possible by moving the phasing-line taps &quot;Tz&quot; and &quot;Tr&quot;, or by changing the</translation>
    </message>
    <message>
        <source>úpravou vzdálenosti &quot; x &quot;. Někteží dokonce doporučují mezi svorku X&apos; a střední vodič koaxiálu vřadit</source>
        <translation>distance &quot; x &quot;. Some even recommend a variable capacitor (5 - 50 pF) between terminal X&apos; and the</translation>
    </message>
    <message>
        <source>proměnnou kapacitu (5 - 50 pF) a tou nastavit &quot;ideální stav&quot;, ale to se nikdy v praxi neosvědčilo.</source>
        <translation>coax centre conductor to set the &quot;ideal state&quot;, but that has never proved itself in practice.</translation>
    </message>
    <message>
        <source>Směr vyzařování</source>
        <translation>Beam direction</translation>
    </message>
</context>
<context>
    <name>Web</name>
    <message>
        <source>&amp;Zavřít</source>
        <translation>&amp;Close</translation>
    </message>
</context>
</TS>
