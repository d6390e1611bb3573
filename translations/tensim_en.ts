<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="es">
<context>
    <name>TExercise</name>
    <message>
        <source>Falta el dato «%1».</source>
        <translation>The item “%1” is missing.</translation>
    </message>
    <message>
        <source>El dato «%1» debe ser un objeto { }.</source>
        <translation>The item “%1” must be an object { }.</translation>
    </message>
    <message>
        <source>El dato «%1» debe ser una lista [ ].</source>
        <translation>The item “%1” must be a list [ ].</translation>
    </message>
    <message>
        <source>El dato «%1» debe tener %2 valores.</source>
        <translation>The item “%1” must have %2 values.</translation>
    </message>
    <message>
        <source>El dato «%1» debe tener entre %2 y %3 valores.</source>
        <translation>The item “%1” must have between %2 and %3 values.</translation>
    </message>
    <message>
        <source>El dato «%1» debe ser un número.</source>
        <translation>The item “%1” must be a number.</translation>
    </message>
    <message>
        <source>El dato «%1» está fuera del intervalo admitido (%2 a %3).</source>
        <translation>The item “%1” is out of the allowed range (%2 to %3).</translation>
    </message>
    <message>
        <source>El dato «%1» debe ser un número entero.</source>
        <translation>The item “%1” must be a whole number.</translation>
    </message>
    <message>
        <source>El dato «%1» debe ser true o false.</source>
        <translation>The item “%1” must be true or false.</translation>
    </message>
    <message>
        <source>El marcador «%1» no es válido: sus coordenadas deben estar entre -1000000 y 1000000, sus semiejes ser positivos y no superar 1000000, y el mayor no superar 10000 veces el menor.</source>
        <translation>The marker “%1” is not valid: its coordinates must lie between -1000000 and 1000000, its semi-axes must be positive and at most 1000000, and the long one at most 10000 times the short one.</translation>
    </message>
    <message>
        <source>El dato «%1» no es una ventana: x1 &lt; x2 e y1 &lt; y2.</source>
        <translation>The item “%1” is not a window: x1 &lt; x2 and y1 &lt; y2.</translation>
    </message>
    <message>
        <source>El dato «flowType» debe ser uno de simpleShear, pureShear, subSimpleShear, generalShear o rigidRotation.</source>
        <translation>The item “flowType” must be one of simpleShear, pureShear, subSimpleShear, generalShear or rigidRotation.</translation>
    </message>
    <message>
        <source>El dato «rotationDegrees» debe ser un número entero.</source>
        <translation>The item “rotationDegrees” must be a whole number.</translation>
    </message>
    <message>
        <source>El dato «flow» no corresponde al tipo de flujo «%1».</source>
        <translation>The item “flow” does not fit the flow type “%1”.</translation>
    </message>
    <message>
        <source>El ejercicio tiene más de %1 puntos del eje del círculo de Mohr del flujo.</source>
        <translation>The exercise has more than %1 points of the axis of the flow Mohr circle.</translation>
    </message>
    <message>
        <source>El ejercicio tiene más de %1 incrementos.</source>
        <translation>The exercise has more than %1 increments.</translation>
    </message>
    <message>
        <source>El ejercicio tiene demasiados incrementos para sus %1 marcadores: %2 (a lo sumo %3).</source>
        <translation>The exercise has too many increments for its %1 markers: %2 (at most %3).</translation>
    </message>
    <message>
        <source>El archivo no es un documento JSON válido (error cerca del carácter %1).</source>
        <translation>The file is not a valid JSON document (error near character %1).</translation>
    </message>
    <message>
        <source>El archivo no es un ejercicio de Tensim.</source>
        <translation>The file is not a Tensim exercise.</translation>
    </message>
    <message>
        <source>El archivo es de una versión de ejercicio desconocida (%1); esta versión de Tensim lee la versión %2.</source>
        <translation>The file is of an unknown exercise version (%1); this version of Tensim reads version %2.</translation>
    </message>
    <message>
        <source>sin número</source>
        <translation>no number</translation>
    </message>
</context>
<context>
    <name>tensim::Application</name>
    <message>
        <source>es</source>
        <extracomment>The code of the language translated into: &quot;en&quot; for English.</extracomment>
        <translation>en</translation>
    </message>
</context>
<context>
    <name>tensim::Pictures</name>
    <message>
        <source>es una carpeta</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>la carpeta no existe</source>
        <translation>the folder does not exist</translation>
    </message>
    <message>
        <source>permiso denegado</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>no se pudo escribir el archivo</source>
        <translation>the file could not be written</translation>
    </message>
    <message>
        <source>No se pudo guardar «%1»: %2.</source>
        <translation>Could not save “%1”: %2.</translation>
    </message>
    <message>
        <source>Imágenes (%1)</source>
        <translation>Images (%1)</translation>
    </message>
</context>
<context>
    <name>tensim::TAboutBox</name>
    <message>
        <source>Tensim muestra cómo un
flujo homogéneo deforma,
paso a paso, una elipse
y un triángulo: la
deformación finita
F = Lⁿ de un tensor de
flujo L.

Agradecimientos:
a Qt, que dibuja las
ventanas, los gráficos
y la ayuda;
a GoogleTest y a Google
Benchmark, que lo
prueban;
a CMake, que lo
construye;
a las fuentes Liberation
y DejaVu.

¡Gracias a todos!</source>
        <translation>Tensim shows how a
homogeneous flow
deforms an ellipse and
a triangle, step by
step: the finite
deformation F = Lⁿ of a
flow tensor L.

Acknowledgements:
to Qt, which draws the
windows, the charts
and the help;
to GoogleTest and
Google Benchmark,
which test it;
to CMake, which
builds it;
to the Liberation and
DejaVu fonts.

Thanks to all!</translation>
    </message>
    <message>
        <source>Información</source>
        <translation>About Tensim</translation>
    </message>
    <message>
        <source>Programa Tensim</source>
        <translation>Tensim program</translation>
    </message>
    <message>
        <source>Versión 2.1</source>
        <translation>Version 2.1</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Agradecimientos</source>
        <translation>Acknowledgements</translation>
    </message>
</context>
<context>
    <name>tensim::TForm1</name>
    <message>
        <source>Flujo y deformación</source>
        <translation>Flow and deformation</translation>
    </message>
    <message>
        <source>Líneas materiales por el centro, una cada 5° en el estado sin deformar:
azul: acortada en todo momento
verde oliva: acortada y luego alargada
rojo: alargada en todo momento
fucsia: alargada y luego acortada
gris: sin cambio
negro discontinuo: líneas sin elongación finita</source>
        <translation>Material lines through the centre, one every 5° in the undeformed state:
blue: shortened throughout
olive green: shortened, then lengthened
red: lengthened throughout
fuchsia: lengthened, then shortened
grey: unchanged
dashed black: lines of no finite elongation</translation>
    </message>
    <message>
        <source>Una población de marcadores elípticos en el panel «Finita»</source>
        <translation>A population of elliptical markers in the “Finite” panel</translation>
    </message>
    <message>
        <source>&amp;Detener</source>
        <translation>&amp;Stop</translation>
    </message>
    <message>
        <source>&amp;Deformar</source>
        <translation>&amp;Deform</translation>
    </message>
    <message>
        <source>Cargar marcadores</source>
        <translation>Load markers</translation>
    </message>
    <message>
        <source>Marcadores (*.txt *.csv *.tsv)</source>
        <translation>Markers (*.txt *.csv *.tsv)</translation>
    </message>
    <message>
        <source>Todos los archivos (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>No se puede abrir el archivo «%1»: %2</source>
        <translation>Cannot open the file “%1”: %2</translation>
    </message>
    <message>
        <source>El archivo «%1» es demasiado grande para ser un archivo de marcadores.</source>
        <translation>The file “%1” is too large to be a marker file.</translation>
    </message>
    <message>
        <source>Tensores de flujo y deformación</source>
        <translation>Flow and deformation tensors</translation>
    </message>
    <message>
        <source>Tensor de flujo</source>
        <translation>Flow tensor</translation>
    </message>
    <message>
        <source>Tensor de distorsión finita</source>
        <translation>Finite deformation tensor</translation>
    </message>
    <message>
        <source>Estado de deformación</source>
        <translation>State of strain</translation>
    </message>
    <message>
        <source>Distorsión</source>
        <translation>Deformation</translation>
    </message>
    <message>
        <source>Incremental</source>
        <translation>Incremental</translation>
    </message>
    <message>
        <source>Finita</source>
        <translation>Finite</translation>
    </message>
    <message>
        <source># de incrementos</source>
        <translation># of increments</translation>
    </message>
    <message>
        <source>&amp;Restaurar</source>
        <translation>&amp;Restore</translation>
    </message>
    <message>
        <source>R&amp;eestablecer</source>
        <translation>R&amp;eset</translation>
    </message>
    <message>
        <source>Elementos visibles</source>
        <translation>Visible elements</translation>
    </message>
    <message>
        <source>Elipse</source>
        <translation>Ellipse</translation>
    </message>
    <message>
        <source>Ejes</source>
        <translation>Axes</translation>
    </message>
    <message>
        <source>Triángulo</source>
        <translation>Triangle</translation>
    </message>
    <message>
        <source>Marcadores</source>
        <translation>Markers</translation>
    </message>
    <message>
        <source>Campo de velocidad</source>
        <translation>Velocity field</translation>
    </message>
    <message>
        <source>Campos de elongación</source>
        <translation>Elongation fields</translation>
    </message>
    <message>
        <source>Apófisis de flujo</source>
        <translation>Flow apophyses</translation>
    </message>
    <message>
        <source>Ejes de extensión infinitesimal</source>
        <translation>Instantaneous stretching axes</translation>
    </message>
    <message>
        <source>A&amp;yuda</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Info</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>Tipo de flujo</source>
        <translation>Flow type</translation>
    </message>
    <message>
        <source>Cizalla simple</source>
        <translation>Simple shear</translation>
    </message>
    <message>
        <source>Cizalla pura</source>
        <translation>Pure shear</translation>
    </message>
    <message>
        <source>Cizalla sub simple</source>
        <translation>Sub-simple shear</translation>
    </message>
    <message>
        <source>Cizalla general</source>
        <translation>General shear</translation>
    </message>
    <message>
        <source>Rotación cuerpo rígido (°)</source>
        <translation>Rigid-body rotation (°)</translation>
    </message>
    <message>
        <source>Visualizar</source>
        <translation>Display</translation>
    </message>
    <message>
        <source>Gráficos</source>
        <translation>Charts</translation>
    </message>
    <message>
        <source>Elongación vs. Razón Axial</source>
        <translation>Elongation vs. axial ratio</translation>
    </message>
    <message>
        <source>Inclinación elipse vs. Razón Axial</source>
        <translation>Ellipse inclination vs. axial ratio</translation>
    </message>
    <message>
        <source>C. Mohr</source>
        <translation>Mohr</translation>
    </message>
    <message>
        <source>Círculo de Mohr flujo</source>
        <translation>Mohr circle of the flow</translation>
    </message>
    <message>
        <source>Círculo de Mohr estado deformado</source>
        <translation>Mohr circle of the deformed state</translation>
    </message>
    <message>
        <source>Rf vs. φ</source>
        <translation>Rf vs. φ</translation>
    </message>
    <message>
        <source>Polar ln Rf vs. 2φ</source>
        <translation>Polar ln Rf vs. 2φ</translation>
    </message>
    <message>
        <source>Cargar marcadores…</source>
        <translation>Load markers…</translation>
    </message>
    <message>
        <source>Nueva población</source>
        <translation>New population</translation>
    </message>
    <message>
        <source>Elongación vs. Razón axial</source>
        <translation>Elongation vs. axial ratio</translation>
    </message>
    <message>
        <source>Inclinación de elipse vs. </source>
        <translation>Ellipse inclination vs. </translation>
    </message>
    <message>
        <source>Razón axial</source>
        <translation>Axial ratio</translation>
    </message>
    <message>
        <source>Ángulo de inclinación(°)</source>
        <translation>Inclination angle (°)</translation>
    </message>
    <message>
        <source>Círculo de Mohr</source>
        <translation>Mohr circle</translation>
    </message>
    <message>
        <source>estado deformado</source>
        <translation>deformed state</translation>
    </message>
    <message>
        <source>Flujo</source>
        <translation>flow</translation>
    </message>
    <message>
        <source>ln Rf vs. 2φ (polar)</source>
        <translation>ln Rf vs. 2φ (polar)</translation>
    </message>
    <message>
        <source>Lado 1</source>
        <translation>Side 1</translation>
    </message>
    <message>
        <source>Lado 2</source>
        <translation>Side 2</translation>
    </message>
    <message>
        <source>Lado 3</source>
        <translation>Side 3</translation>
    </message>
    <message>
        <source>MohrFlujo</source>
        <translation>MohrFlow</translation>
    </message>
    <message>
        <source>Inclinación</source>
        <translation>Inclination</translation>
    </message>
    <message>
        <source>Círculo de Mohr (estado deformado)</source>
        <translation>Mohr circle (deformed state)</translation>
    </message>
    <message>
        <source>Círculo de Mohr (flujo)</source>
        <translation>Mohr circle (flow)</translation>
    </message>
    <message>
        <source>Eje del círculo de flujo</source>
        <translation>Axis of the flow circle</translation>
    </message>
    <message>
        <source>Marcadores (φ, Rf)</source>
        <translation>Markers (φ, Rf)</translation>
    </message>
    <message>
        <source>Elipse de deformación (θ, Rs)</source>
        <translation>Strain ellipse (θ, Rs)</translation>
    </message>
    <message>
        <source>Marcadores (ln Rf cos 2φ, ln Rf sin 2φ)</source>
        <translation>Markers (ln Rf cos 2φ, ln Rf sin 2φ)</translation>
    </message>
    <message>
        <source>Elipse de deformación (ln Rs cos 2θ, ln Rs sin 2θ)</source>
        <translation>Strain ellipse (ln Rs cos 2θ, ln Rs sin 2θ)</translation>
    </message>
    <message>
        <source>&amp;Archivo</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Abrir ejercicio…</source>
        <translation>&amp;Open exercise…</translation>
    </message>
    <message>
        <source>&amp;Guardar ejercicio…</source>
        <translation>&amp;Save exercise…</translation>
    </message>
    <message>
        <source>&amp;Exportar animación…</source>
        <translation>&amp;Export animation…</translation>
    </message>
    <message>
        <source>&amp;Imprimir…</source>
        <translation>&amp;Print…</translation>
    </message>
    <message>
        <source>&amp;Salir</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>&amp;Ver</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Modo presentación</source>
        <translation>&amp;Presentation mode</translation>
    </message>
    <message>
        <source>&amp;Contenido</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>&amp;Acerca de Tensim</source>
        <translation>&amp;About Tensim</translation>
    </message>
    <message>
        <source>Ay&amp;uda</source>
        <translation>Hel&amp;p</translation>
    </message>
    <message>
        <source>Abrir ejercicio</source>
        <translation>Open exercise</translation>
    </message>
    <message>
        <source>Ejercicios de Tensim (*.tensim)</source>
        <translation>Tensim exercises (*.tensim)</translation>
    </message>
    <message>
        <source>Guardar ejercicio</source>
        <translation>Save exercise</translation>
    </message>
    <message>
        <source>Exportar animación</source>
        <translation>Export animation</translation>
    </message>
    <message>
        <source>Incrementos que se graban desde el estado actual:</source>
        <translation>Increments recorded from the current state:</translation>
    </message>
    <message>
        <source>GIF animado (*.gif)</source>
        <translation>Animated GIF (*.gif)</translation>
    </message>
    <message>
        <source>Serie de imágenes PNG numeradas (*.png)</source>
        <translation>Numbered PNG images (*.png)</translation>
    </message>
    <message>
        <source>Grabando la animación…</source>
        <translation>Recording the animation…</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Tensim, flujo y deformación</source>
        <translation>Tensim, flow and deformation</translation>
    </message>
    <message>
        <source>El archivo «%1» es demasiado grande para ser un ejercicio.</source>
        <translation>The file “%1” is too large to be an exercise.</translation>
    </message>
    <message>
        <source>No se puede abrir el ejercicio «%1»:
%2</source>
        <translation>Cannot open the exercise “%1”:
%2</translation>
    </message>
    <message>
        <source>No se guarda el ejercicio «%1»:
%2</source>
        <translation>The exercise “%1” is not saved:
%2</translation>
    </message>
    <message>
        <source>No se puede guardar el ejercicio «%1»: %2</source>
        <translation>Cannot save the exercise “%1”: %2</translation>
    </message>
    <message>
        <source>No se pudo exportar la animación «%1»:
%2</source>
        <translation>Could not export the animation “%1”:
%2</translation>
    </message>
    <message>
        <source>Tensim: flujo y deformación</source>
        <translation>Tensim: flow and deformation</translation>
    </message>
    <message>
        <source>Tensor de flujo L = %1</source>
        <translation>Flow tensor L = %1</translation>
    </message>
    <message>
        <source>Tensor de distorsión finita F = L^%1 = %2</source>
        <translation>Finite deformation tensor F = L^%1 = %2</translation>
    </message>
</context>
<context>
    <name>tensim::TForm2</name>
    <message>
        <source>Guardar a archivo</source>
        <translation>Save to file</translation>
    </message>
    <message>
        <source>Copiar al portapapeles</source>
        <translation>Copy to clipboard</translation>
    </message>
    <message>
        <source>Exportar datos (CSV)…</source>
        <translation>Export data (CSV)…</translation>
    </message>
    <message>
        <source>Todos los archivos (*)</source>
        <translation>All files (*)</translation>
    </message>
</context>
<context>
    <name>tensim::THelpWindow</name>
    <message>
        <source>Ayuda</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Atrás</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Adelante</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>Página anterior (Alt+←)</source>
        <translation>Previous page (Alt+←)</translation>
    </message>
    <message>
        <source>Página siguiente (Alt+→)</source>
        <translation>Next page (Alt+→)</translation>
    </message>
    <message>
        <source>Las páginas de la ayuda están en español.</source>
        <translation>The help pages are in Spanish.</translation>
    </message>
    <message>
        <source>Contenido</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>Índice</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>Palabra clave</source>
        <translation>Keyword</translation>
    </message>
    <message>
        <source>Buscar</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Buscar en la ayuda</source>
        <translation>Search the help</translation>
    </message>
    <message>
        <source>Ayuda de Tensim</source>
        <translation>Tensim help</translation>
    </message>
    <message>
        <source>No se encontró el archivo de ayuda %1.</source>
        <translation>The help file %1 was not found.</translation>
    </message>
    <message>
        <source>No se pudo leer el archivo de ayuda %1: %2</source>
        <translation>The help file %1 could not be read: %2</translation>
    </message>
    <message>
        <source>Preparando el índice de búsqueda…</source>
        <translation>Preparing the search index…</translation>
    </message>
    <message>
        <source>Buscando…</source>
        <translation>Searching…</translation>
    </message>
    <message>
        <source>No se encontró ninguna página.</source>
        <translation>No page found.</translation>
    </message>
    <message>
        <source>Se encontró una página.</source>
        <translation>One page found.</translation>
    </message>
    <message>
        <source>Se encontraron %1 páginas.</source>
        <translation>%1 pages found.</translation>
    </message>
    <message>
        <source>El archivo de ayuda %1 no tiene una página para el contexto %2.</source>
        <translation>The help file %1 has no page for context %2.</translation>
    </message>
</context>
<context>
    <name>tensim::TMarkerFile</name>
    <message>
        <source>Línea %1: se esperaban 5 valores (x, y, semieje mayor, semieje menor, orientación)</source>
        <translation>Line %1: 5 values were expected (x, y, long semi-axis, short semi-axis, orientation)</translation>
    </message>
    <message>
        <source>Línea %1: «%2» está fuera del intervalo admitido</source>
        <translation>Line %1: “%2” is outside the accepted range</translation>
    </message>
    <message>
        <source>Línea %1: «%2» no es un número</source>
        <translation>Line %1: “%2” is not a number</translation>
    </message>
    <message>
        <source>Línea %1: las coordenadas deben estar entre -1000000 y 1000000</source>
        <translation>Line %1: the coordinates must lie between -1000000 and 1000000</translation>
    </message>
    <message>
        <source>Línea %1: los semiejes deben ser positivos</source>
        <translation>Line %1: the semi-axes must be positive</translation>
    </message>
    <message>
        <source>Línea %1: los semiejes no pueden superar 1000000</source>
        <translation>Line %1: the semi-axes cannot exceed 1000000</translation>
    </message>
    <message>
        <source>Línea %1: el semieje mayor no puede superar 10000 veces el menor</source>
        <translation>Line %1: the long semi-axis cannot exceed 10000 times the short one</translation>
    </message>
    <message>
        <source>El archivo tiene más de 10000 marcadores.</source>
        <translation>The file has more than 10000 markers.</translation>
    </message>
    <message>
        <source>El archivo tiene demasiadas líneas.</source>
        <translation>The file has too many lines.</translation>
    </message>
    <message>
        <source>El archivo no contiene marcadores.</source>
        <translation>The file contains no markers.</translation>
    </message>
</context>
<context>
    <name>tensim::TNxNumEdit</name>
    <message>
        <source>Cor&amp;tar</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>&amp;Copiar</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>&amp;Pegar</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>&amp;Eliminar</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>Seleccionar &amp;todo</source>
        <translation>Select &amp;All</translation>
    </message>
</context>
</TS>
