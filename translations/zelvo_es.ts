<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>EditorDock</name>
    <message>
        <source>Composition</source>
        <translation>Composición</translation>
    </message>
    <message>
        <source>Live: the run failed</source>
        <translation>En vivo: la ejecución falló</translation>
    </message>
    <message>
        <source>Live: %1 notes, %2 ms after the last edit</source>
        <translation>En vivo: %1 notas, %2 ms después de la última edición</translation>
    </message>
    <message>
        <source>Save the changes to incom.htm before closing?</source>
        <translation>¿Guardar los cambios de incom.htm antes de cerrar?</translation>
    </message>
</context>
<context>
    <name>EditorPanel</name>
    <message>
        <source>TCONF: the piece</source>
        <translation>TCONF: la pieza</translation>
    </message>
    <message>
        <source>TCAL: variables</source>
        <translation>TCAL: variables</translation>
    </message>
    <message>
        <source>TGENC: calculated generators</source>
        <translation>TGENC: generadores calculados</translation>
    </message>
    <message>
        <source>TGENS: sequence generators</source>
        <translation>TGENS: generadores de secuencias</translation>
    </message>
    <message>
        <source>TSAL: output channels</source>
        <translation>TSAL: canales de salida</translation>
    </message>
    <message>
        <source>libre: notes</source>
        <translation>libre: notas</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>+Row</source>
        <translation>+Fila</translation>
    </message>
    <message>
        <source>-Row</source>
        <translation>-Fila</translation>
    </message>
    <message>
        <source>+Table</source>
        <translation>+Tabla</translation>
    </message>
    <message>
        <source>-Table</source>
        <translation>-Tabla</translation>
    </message>
    <message>
        <source>Delete the table shown?</source>
        <translation>¿Borrar la tabla que se muestra?</translation>
    </message>
    <message>
        <source>no generator or variable %1</source>
        <translation>no hay generador ni variable %1</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Renombrar</translation>
    </message>
    <message>
        <source>New name for %1:</source>
        <translation>Nuevo nombre para %1:</translation>
    </message>
    <message>
        <source>cannot rename %1 to %2: %3</source>
        <translation>no se puede renombrar %1 como %2: %3</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>En vivo</translation>
    </message>
    <message>
        <source>compose again after every change and show (and play) the result</source>
        <translation>volver a componer tras cada cambio y mostrar (y tocar) el resultado</translation>
    </message>
    <message>
        <source>Harmonize</source>
        <translation>Armonizar</translation>
    </message>
    <message>
        <source>with Live: run the harmonizer after the composer (All)</source>
        <translation>con En vivo: ejecutar el armonizador tras el compositor (Todo)</translation>
    </message>
    <message>
        <source>cannot read %1</source>
        <translation>no se puede leer %1</translation>
    </message>
    <message>
        <source>saved %1</source>
        <translation>guardado %1</translation>
    </message>
    <message>
        <source>saved %1 in the composer&apos;s layout: its own formatting was not kept</source>
        <translation>guardado %1 con la disposición del compositor: su propio formato no se ha conservado</translation>
    </message>
    <message>
        <source>%1 is read-only: not saved</source>
        <translation>%1 es de solo lectura: no se ha guardado</translation>
    </message>
    <message>
        <source>cannot write %1: not saved</source>
        <translation>no se puede escribir %1: no se ha guardado</translation>
    </message>
    <message>
        <source>incom.htm was changed by another program. Reload it and lose your edits?</source>
        <translation>Otro programa ha modificado incom.htm. ¿Volver a cargarlo y perder sus cambios?</translation>
    </message>
    <message>
        <source>incom.htm was changed by another program. Reload it?</source>
        <translation>Otro programa ha modificado incom.htm. ¿Volver a cargarlo?</translation>
    </message>
    <message>
        <source>edit cell %1:%2</source>
        <translation>editar la celda %1:%2</translation>
    </message>
    <message>
        <source>insert row</source>
        <translation>insertar fila</translation>
    </message>
    <message>
        <source>delete row</source>
        <translation>borrar fila</translation>
    </message>
    <message>
        <source>add table</source>
        <translation>añadir tabla</translation>
    </message>
    <message>
        <source>delete table</source>
        <translation>borrar tabla</translation>
    </message>
    <message>
        <source>rename %1</source>
        <translation>renombrar %1</translation>
    </message>
    <message>
        <source>renamed in %1 cells</source>
        <translation>renombrado en %1 celdas</translation>
    </message>
    <message>
        <source>find a name</source>
        <translation>buscar un nombre</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Deshacer %1</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rehacer</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Rehacer %1</translation>
    </message>
    <message>
        <source>at bar line</source>
        <translation>en la barra de compás</translation>
    </message>
    <message>
        <source>at beat</source>
        <translation>en el pulso</translation>
    </message>
    <message>
        <source>at once</source>
        <translation>en el acto</translation>
    </message>
    <message>
        <source>with Live, while playing: where the new result takes over the music</source>
        <translation>con Live, mientras suena: dónde toma el relevo el nuevo resultado</translation>
    </message>
</context>
<context>
    <name>FoldersDialog</name>
    <message>
        <source>Folders</source>
        <translation>Carpetas</translation>
    </message>
    <message>
        <source>Template:</source>
        <translation>Plantilla:</translation>
    </message>
    <message>
        <source>Work:</source>
        <translation>Trabajo:</translation>
    </message>
    <message>
        <source>Project:</source>
        <translation>Proyecto:</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Lead sheet</source>
        <translation>Partitura con cifrado</translation>
    </message>
    <message>
        <source>Chords</source>
        <translation>Acordes</translation>
    </message>
    <message>
        <source>Replace inarm.xml in the work folder?</source>
        <translation>¿Reemplazar inarm.xml en la carpeta de trabajo?</translation>
    </message>
    <message>
        <source>&amp;Project</source>
        <translation>&amp;Proyecto</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Nuevo</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Abrir</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Guardar</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Opciones</translation>
    </message>
    <message>
        <source>&amp;Edit Information</source>
        <translation>Editar &amp;información</translation>
    </message>
    <message>
        <source>&amp;Edit Harm. Options</source>
        <translation>Editar opciones de &amp;armonía</translation>
    </message>
    <message>
        <source>Edit &amp;Composition</source>
        <translation>Editar &amp;composición</translation>
    </message>
    <message>
        <source>&amp;Check</source>
        <translation>&amp;Revisar</translation>
    </message>
    <message>
        <source>&amp;Folders</source>
        <translation>Car&amp;petas</translation>
    </message>
    <message>
        <source>&amp;Open Midifile</source>
        <translation>Abrir &amp;Midifile</translation>
    </message>
    <message>
        <source>Write &amp;Notation (MusicXML)</source>
        <translation>Escribir &amp;notación (MusicXML)</translation>
    </message>
    <message>
        <source>Notation &amp;Grid</source>
        <translation>Re&amp;jilla de notación</translation>
    </message>
    <message>
        <source>&amp;Chosen from the Music</source>
        <translation>&amp;Elegida según la música</translation>
    </message>
    <message>
        <source>&amp;Sixteenths</source>
        <translation>&amp;Semicorcheas</translation>
    </message>
    <message>
        <source>Eighth &amp;Triplets</source>
        <translation>&amp;Tresillos de corchea</translation>
    </message>
    <message>
        <source>T&amp;hirty-seconds</source>
        <translation>&amp;Fusas</translation>
    </message>
    <message>
        <source>&amp;Exact</source>
        <translation>E&amp;xacta</translation>
    </message>
    <message>
        <source>C&amp;hords from Lead Sheet...</source>
        <translation>Acor&amp;des desde un cifrado...</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Idioma</translation>
    </message>
    <message>
        <source>&amp;Composer</source>
        <translation>&amp;Compositor</translation>
    </message>
    <message>
        <source>&amp;Harmonizer</source>
        <translation>&amp;Armonizador</translation>
    </message>
    <message>
        <source>&amp;All</source>
        <translation>&amp;Todo</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Detener</translation>
    </message>
    <message>
        <source>&amp;Erase</source>
        <translation>&amp;Borrar</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;yuda</translation>
    </message>
    <message>
        <source>&amp;Documentation</source>
        <translation>&amp;Documentación</translation>
    </message>
    <message>
        <source>&amp;About Zelvo</source>
        <translation>&amp;Acerca de Zelvo</translation>
    </message>
    <message>
        <source>&amp;WFolder: </source>
        <translation>T&amp;rabajo: </translation>
    </message>
    <message>
        <source>&amp;PFolder: </source>
        <translation>Proy&amp;ecto: </translation>
    </message>
    <message>
        <source>(Empty)</source>
        <translation>(Vacía)</translation>
    </message>
</context>
<context>
    <name>RollPanel</name>
    <message>
        <source>%1 port %2</source>
        <translation>%1 puerto %2</translation>
    </message>
    <message>
        <source>Port %1</source>
        <translation>Puerto %1</translation>
    </message>
    <message>
        <source>: playing</source>
        <translation>: sonando</translation>
    </message>
    <message>
        <source>: starting...</source>
        <translation>: empezando...</translation>
    </message>
    <message>
        <source>Cannot play: </source>
        <translation>No se puede tocar: </translation>
    </message>
    <message>
        <source>: Play starts at bar %1</source>
        <translation>: Tocar empieza en el compás %1</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Tocar</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Parar</translation>
    </message>
    <message>
        <source>Loop</source>
        <translation>Repetir</translation>
    </message>
    <message>
        <source>Where Play sends the music</source>
        <translation>Adónde envía Tocar la música</translation>
    </message>
    <message>
        <source>Built-in synthesizer</source>
        <translation>Sintetizador integrado</translation>
    </message>
    <message>
        <source>Port %1 (connect a DAW to it)</source>
        <translation>Puerto %1 (conecte a él un DAW)</translation>
    </message>
    <message>
        <source>No result yet: run Composer, Harmonizer or All.</source>
        <translation>Aún no hay resultado: ejecute Compositor, Armonizador o Todo.</translation>
    </message>
    <message>
        <source>Piano roll</source>
        <translation>Rollo de piano</translation>
    </message>
    <message>
        <source> (older than the last job, which did not finish)</source>
        <translation> (anterior al último trabajo, que no terminó)</translation>
    </message>
    <message>
        <source>Mute %1</source>
        <translation>Silenciar %1</translation>
    </message>
    <message>
        <source>Solo %1</source>
        <translation>Solo %1</translation>
    </message>
</context>
</TS>
