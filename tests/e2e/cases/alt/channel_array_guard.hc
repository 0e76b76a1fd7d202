prialt
{

c[i]

##### Error: Arrays of channels are not allowed in Handel-C language ! #####

 ? x:
skip;

}  /* prialt */
